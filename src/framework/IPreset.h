// IPreset: one preset slot of a plug-in — a name and a state chunk in the plug-in's state format.
#pragma once

#include "framework/ByteChunk.h"

#include <cstring>

struct IPreset
{
  static constexpr int kMaxNameLen = 255;

  bool mInitialized = false;
  char mName[kMaxNameLen + 1] = "empty";
  ByteChunk mChunk;

  // Names longer than the slot holds are cut, never overrun it.
  void SetName(const char* name)
  {
    if (!name)
      name = "";
    size_t n = strnlen(name, kMaxNameLen);
    std::memcpy(mName, name, n);
    mName[n] = '\0';
  }
};
