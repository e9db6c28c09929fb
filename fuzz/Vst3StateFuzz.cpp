// Fuzzes the built plug-in module's state calls the way a host restoring a damaged project would:
// the bytes go to the controller's and the component's setState through the module's own
// interfaces. Afterwards every parameter is a finite normalized value, the saved state is finite
// and round-trips exactly, and a block processed with it is finite.
#include "FuzzProcess.h"
#include "host/vst3/BlockProcessor.h"
#include "host/vst3/MemoryStream.h"
#include "host/vst3/Module.h"
#include "host/vst3/PluginInstance.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace qvhost;
using namespace vst3abi;

namespace {

struct Session {
  std::unique_ptr<Module> module;
  std::unique_ptr<PluginInstance> inst;
  std::vector<ParamID> ids;
  std::vector<uint8_t> defaults;

  Session() {
    std::string error;
    module = Module::load(QV_BUNDLE_PATH, &error);
    const ClassInfo* cls = module ? module->findAudioEffect("Quorvane") : nullptr;
    inst = cls ? PluginInstance::create(*module, *cls, &error) : nullptr;
    if (!inst) {
      std::fprintf(stderr, "cannot load %s: %s\n", QV_BUNDLE_PATH, error.c_str());
      std::abort();
    }
    for (const auto& p : inst->parameters()) ids.push_back(p.id);
    defaults = Save();
  }

  std::vector<uint8_t> Save() {
    auto s = Ref<MemoryStream>::adopt(new MemoryStream);
    if (inst->controller()->getControllerState(s.get()) != kResultOk) std::abort();
    return s->data();
  }

  tresult Load(bool component, const std::vector<uint8_t>& bytes) {
    auto s = Ref<MemoryStream>::adopt(new MemoryStream(bytes));
    return component ? inst->component()->setState(s.get()) : inst->controller()->setControllerState(s.get());
  }

  void Check() {
    for (ParamID id : ids) {
      const double v = inst->controller()->getParamNormalized(id);
      if (!(v >= 0.0 && v <= 1.0)) {
        std::fprintf(stderr, "parameter %u reads %g\n", id, v);
        std::abort();
      }
    }
    const std::vector<uint8_t> saved = Save();
    for (size_t i = 0; i + 8 <= saved.size() && i < 136; i += 8) {
      double d;
      std::memcpy(&d, saved.data() + i, 8);
      if (!std::isfinite(d)) std::abort();
    }
    if (Load(false, saved) != kResultOk || Save() != saved) std::abort();

    BlockProcessor proc(*inst);
    ProcessesFinite(proc, false);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Session* session = new Session;
  const std::vector<uint8_t> bytes(data, data + size);
  for (bool component : {false, true}) {
    session->Load(false, session->defaults);
    session->Load(component, bytes);
    session->Check();
  }
  return 0;
}
