// ISysEx: a system-exclusive message; the bytes belong to whoever built it.
#pragma once

#include <cstdint>

struct ISysEx {
  int32_t mOffset = 0;
  int32_t mSize = 0;
  const uint8_t* mData = nullptr;

  ISysEx() = default;
  ISysEx(int offset, const uint8_t* data, int size) : mOffset(offset), mSize(size), mData(data) {}

  void Clear() {
    mOffset = mSize = 0;
    mData = nullptr;
  }
  void LogMsg() const {}
};

// Hex dump "F0 7E ..." of at most min(size, maxLen / 3) bytes; "" for no data. Returns out.
char* SysExStr(char* out, int maxLen, const uint8_t* data, int size);
