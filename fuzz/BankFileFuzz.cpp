// Fuzzes the bank-file loader (chunk and parameter forms): any file leaves sane parameters in
// every slot.
#include "FuzzFile.h"
#include "FuzzPlugin.h"

#include "base/StrBuf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzFile file;
  StrBuf path;
  path.Set(file.Put(data, size));
  FakePlugin plug(FuzzPluginOptions());
  plug.LoadBankFromFXB(&path);
  AbortUnlessSane(plug);
  for (int i = 0; i < plug.GetPresetCount(); ++i) {
    plug.RestorePreset(i);
    AbortUnlessSane(plug);
  }
  return 0;
}
