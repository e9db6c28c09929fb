// IPreset: one preset slot of a plug-in — a name and a state chunk in the plug-in's state format.
#pragma once

#include "base/CopyCString.h"
#include "framework/ByteChunk.h"

struct IPreset {
  static constexpr int kMaxNameLen = 255;

  bool mInitialized = false;
  char mName[kMaxNameLen + 1] = "empty";
  ByteChunk mChunk;

  // Names longer than the slot holds are cut, never overrun it.
  void SetName(const char* name) { CopyCString(mName, sizeof(mName), name); }
};
