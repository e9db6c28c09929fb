// Fuzzes Quorvane.clap's state.load the way a host restoring a damaged project would, through the
// module's own entry points. A refused state leaves every value as it was; an accepted one gives
// finite values inside their ranges, saves and loads back exactly, and processes to finite audio.
#include "BlockProcessor.h"
#include "ClapModule.h"
#include "ClapPlugin.h"
#include "ClapProcessor.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace qvhost;

namespace {

struct Session {
  std::unique_ptr<ClapModule> module;
  std::unique_ptr<ClapPlugin> plugin;
  std::vector<ClapParameter> params;
  std::vector<uint8_t> defaults;

  Session() {
    std::string error;
    module = ClapModule::load(QV_CLAP_PATH, &error);
    plugin = module ? ClapPlugin::create(*module, *module->find(), &error) : nullptr;
    if (!plugin) {
      std::fprintf(stderr, "cannot load %s: %s\n", QV_CLAP_PATH, error.c_str());
      std::abort();
    }
    params = plugin->parameters();
    defaults = Save();
  }

  std::vector<uint8_t> Save() {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!plugin->saveState(&bytes, &error)) std::abort();
    return bytes;
  }

  void Check() {
    for (const auto& p : params) {
      double v = NAN;
      if (!plugin->value(p.id, &v) || !(v >= p.min && v <= p.max)) {
        std::fprintf(stderr, "parameter %u reads %g\n", p.id, v);
        std::abort();
      }
    }
    std::string error;
    const std::vector<uint8_t> saved = Save();
    if (!plugin->loadState(saved, &error) || Save() != saved) std::abort();

    ClapProcessor proc(*plugin);
    ProcessConfig config;
    config.maxBlock = 64;
    if (!proc.start(config, &error)) std::abort();
    double in[2][64], out[2][64];
    for (int i = 0; i < 64; i++) in[0][i] = in[1][i] = std::sin(i * 0.3) * 0.9;
    const double* inPtr[2] = {in[0], in[1]};
    double* outPtr[2] = {out[0], out[1]};
    if (!proc.process(inPtr, inPtr, outPtr, 64, &error)) std::abort();
    for (int c = 0; c < 2; c++)
      for (int i = 0; i < 64; i++)
        if (!std::isfinite(out[c][i])) std::abort();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Session* session = new Session;
  std::string error;
  if (!session->plugin->loadState(session->defaults, &error)) std::abort();
  if (!session->plugin->loadState(std::vector<uint8_t>(data, data + size), &error) &&
      session->Save() != session->defaults) {
    std::fprintf(stderr, "a refused state changed something\n");
    std::abort();
  }
  session->Check();
  return 0;
}
