// Fuzzes Quorvane.clap's state.load the way a host restoring a damaged project would, through the
// module's own entry points. A refused state leaves every value as it was; an accepted one gives
// finite values inside their ranges, saves and loads back exactly, and processes to finite audio.
#include "FuzzProcess.h"
#include "host/clap/ClapProcessor.h"

#include <cstdint>

using namespace qvhost;

namespace {

struct Session : FuzzClap {
  std::vector<uint8_t> defaults = Save();

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
    ProcessesFinite(proc, true);
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
