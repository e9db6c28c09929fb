// qv_editor_memory BUNDLE SCALE [SECONDS]: the resident memory of a process that loads the plug-in,
// makes one instance and opens its editor at SCALE (as a host with that content scale factor
// does), read after the editor has run for a while. Prints the figures before the editor opens,
// with it open, and the peak. Run it once per scale under a virtual X server; compare the runs.
#include "host/editor/EditorHost.h"
#include "host/vst3/HostRunLoop.h"
#include "host/vst3/Module.h"
#include "host/vst3/PluginInstance.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {
long StatusKB(const char* field) {
  std::ifstream f("/proc/self/status");
  std::string line;
  while (std::getline(f, line))
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::string(field).size());
  return -1;
}
}  // namespace

int main(int argc, char** argv) {
  using namespace qvhost;
  if (argc < 3) {
    std::fprintf(stderr, "usage: qv_editor_memory BUNDLE SCALE [SECONDS]\n");
    return 2;
  }
  const double scale = std::atof(argv[2]);
  const double seconds = argc > 3 ? std::atof(argv[3]) : 1.0;
  std::string error;
  auto module = Module::load(argv[1], &error);
  if (!module) return std::fprintf(stderr, "%s\n", error.c_str()), 1;
  auto plugin = PluginInstance::create(*module, *module->findAudioEffect(""), &error);
  if (!plugin) return std::fprintf(stderr, "%s\n", error.c_str()), 1;
  const long loaded = StatusKB("VmRSS:");
  Ref<HostRunLoop> loop = Ref<HostRunLoop>::adopt(new HostRunLoop);
  module->hostContext()->setRunLoop(loop.get());
  {
    auto editor = EditorHost::open(*plugin, *loop, &error, scale);
    if (!editor) return std::fprintf(stderr, "%s\n", error.c_str()), 1;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds((long)(seconds * 1000));
    while (std::chrono::steady_clock::now() < until) loop->runOnce(20);
    std::printf(
        "scale %g: %ld KB resident with the plug-in loaded, %ld KB with its %d x %d editor open, %ld KB "
        "peak\n",
        scale, loaded, StatusKB("VmRSS:"), editor->window().width(), editor->window().height(),
        StatusKB("VmHWM:"));
  }
  module->hostContext()->setRunLoop(nullptr);
  return 0;
}
