// Fuzzes Base64 decoding of preset blobs (counted and NUL-terminated text) into an output of
// exactly the requested size, and checks that encoding any bytes decodes back to them.
#include "base/Base64.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // The first two bytes pick the output size, so that short and long blobs both get cut.
  const int want = (data[0] | (data[1] << 8)) & 0x0FFF;
  const char* text = reinterpret_cast<const char*>(data + 2);
  const int len = static_cast<int>(size - 2);
  std::unique_ptr<unsigned char[]> out(new unsigned char[want ? want : 1]);
  int n = Base64Decode(text, len, out.get(), want);
  if (n < 0 || n > want) std::abort();
  const std::string terminated(text, static_cast<size_t>(len));
  n = Base64Decode(terminated.c_str(), -1, out.get(), want);
  if (n < 0 || n > want) std::abort();

  const std::string encoded = Base64Encode(data, static_cast<int>(size));
  if (static_cast<int>(encoded.size()) != Base64EncodedLength(static_cast<int>(size))) std::abort();
  std::unique_ptr<unsigned char[]> back(new unsigned char[size]);
  if (Base64Decode(encoded.c_str(), -1, back.get(), static_cast<int>(size)) != static_cast<int>(size) ||
      std::memcmp(back.get(), data, size) != 0)
    std::abort();
  return 0;
}
