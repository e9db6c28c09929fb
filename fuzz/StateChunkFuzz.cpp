// Fuzzes the framework state chunk reader (UnserializeState, with the optional framework header):
// whatever it is fed, parameters stay finite and in range, the position never passes the end, and
// the state it leaves behind round-trips exactly.
#include "FuzzPlugin.h"

#include "framework/ByteChunk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteChunk in;
  if (size && in.AppendBytes(data, static_cast<int>(size)) <= 0) return 0;
  FakePlugin plug(FuzzPluginOptions());
  int pos = 0;
  IPlugin::GetFrameworkVerFromChunk(&in, &pos);
  const int end = plug.UnserializeState(&in, pos);
  if (end > in.Size()) std::abort();
  AbortUnlessSane(plug);

  ByteChunk saved, again;
  if (!plug.SerializeState(&saved)) std::abort();
  FakePlugin other(FuzzPluginOptions());
  if (other.UnserializeState(&saved, 0) != saved.Size() || !other.SerializeState(&again) ||
      !again.IsEqual(saved))
    std::abort();
  return 0;
}
