// The root interface every VST 3 object implements, and how interface/class identifiers are
// laid out in memory. Identifiers are written as four 32-bit words, as hosts print them.
#pragma once

#include <cstring>

#include "vst3/abi/AbiTypes.h"

namespace vst3abi {

// 16 raw identifier bytes; compared with memcmp, never as a C string.
struct Uid {
  char bytes[16];
};

constexpr char uidByte(uint32 word, int shift) {
  return static_cast<char>(static_cast<unsigned char>((word >> shift) & 0xFFu));
}

#if defined(_WIN32)
// Windows stores identifiers as the in-memory image of a COM GUID.
constexpr Uid makeUid(uint32 l1, uint32 l2, uint32 l3, uint32 l4) {
  return Uid{{uidByte(l1, 0), uidByte(l1, 8), uidByte(l1, 16), uidByte(l1, 24), uidByte(l2, 16),
              uidByte(l2, 24), uidByte(l2, 0), uidByte(l2, 8), uidByte(l3, 24), uidByte(l3, 16),
              uidByte(l3, 8), uidByte(l3, 0), uidByte(l4, 24), uidByte(l4, 16), uidByte(l4, 8),
              uidByte(l4, 0)}};
}
#else
// Linux and macOS: each word big-endian, words in order.
constexpr Uid makeUid(uint32 l1, uint32 l2, uint32 l3, uint32 l4) {
  return Uid{{uidByte(l1, 24), uidByte(l1, 16), uidByte(l1, 8), uidByte(l1, 0), uidByte(l2, 24),
              uidByte(l2, 16), uidByte(l2, 8), uidByte(l2, 0), uidByte(l3, 24), uidByte(l3, 16),
              uidByte(l3, 8), uidByte(l3, 0), uidByte(l4, 24), uidByte(l4, 16), uidByte(l4, 8),
              uidByte(l4, 0)}};
}
#endif

inline bool uidEquals(const char* a, const Uid& b) {
  return a != nullptr && std::memcmp(a, b.bytes, sizeof b.bytes) == 0;
}

// Interfaces: pure virtual methods only, fixed order, no data, no virtual destructor.
class FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x00000000, 0x00000000, 0xC0000000, 0x00000046);

  virtual tresult VST3ABI_CALL queryInterface(const TUID queriedIid, void** obj) = 0;
  virtual uint32 VST3ABI_CALL addRef() = 0;
  virtual uint32 VST3ABI_CALL release() = 0;
};

}  // namespace vst3abi
