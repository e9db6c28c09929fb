// Fuzzes the host's state-file decoder: a file it accepts encodes back to the same bytes.
#include "host/effect/StateFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  qvhost::PluginState state;
  std::string error;
  if (qvhost::decodeState(bytes, &state, &error) && qvhost::encodeState(state) != bytes) std::abort();
  return 0;
}
