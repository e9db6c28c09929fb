// Fuzzes the preset-list reader behind bank files (UnserializePresets): slot names stay within
// their slots, every slot restores to sane parameters, and the list can be written again.
#include "FuzzPlugin.h"

#include "framework/ByteChunk.h"
#include "framework/IPreset.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteChunk in;
  if (size && in.AppendBytes(data, static_cast<int>(size)) <= 0) return 0;
  FakePlugin plug(FuzzPluginOptions());
  if (plug.UnserializePresets(&in, 0) > in.Size()) std::abort();
  AbortUnlessSane(plug);
  for (int i = 0; i < plug.GetPresetCount(); ++i) {
    if (std::strlen(plug.GetPresetName(i)) > IPreset::kMaxNameLen) std::abort();
    plug.RestorePreset(i);
    AbortUnlessSane(plug);
  }
  ByteChunk out;
  plug.SerializePresets(&out);
  return 0;
}
