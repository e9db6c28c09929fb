// Fuzzes the host's state-file decoder: a current-version file it accepts encodes back to the same
// bytes; an older one encodes to a current file that decodes to the same state.
#include "host/effect/StateFile.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  qvhost::PluginState state;
  std::string error;
  if (!qvhost::decodeState(bytes, &state, &error)) return 0;
  const std::vector<uint8_t> encoded = qvhost::encodeState(state);
  uint32_t version = 0;
  std::memcpy(&version, bytes.data() + 4, sizeof version);  // accepted, so the header is there
  if (version == qvhost::kStateFileVersion && encoded != bytes) std::abort();
  qvhost::PluginState again;
  if (!qvhost::decodeState(encoded, &again, &error) || qvhost::encodeState(again) != encoded) std::abort();
  return 0;
}
