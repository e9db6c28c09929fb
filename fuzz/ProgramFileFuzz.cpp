// Fuzzes the program-file loader (chunk and parameter forms): any file leaves sane parameters.
#include "FuzzFile.h"
#include "FuzzPlugin.h"

#include "base/StrBuf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FuzzFile file;
  StrBuf path;
  path.Set(file.Put(data, size));
  FakePlugin plug(FuzzPluginOptions());
  plug.LoadProgramFromFXP(&path);
  AbortUnlessSane(plug);
  return 0;
}
