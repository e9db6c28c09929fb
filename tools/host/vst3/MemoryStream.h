// A growable in-memory byte stream handed to plug-ins for their state; also answers the size
// query so a plug-in can check how much data it was given.
#pragma once

#include <cstdint>
#include <vector>

#include "host/vst3/RefCount.h"
#include "vst3/abi/Stream.h"

namespace qvhost {

class MemoryStream final : public vst3abi::IBStream, public vst3abi::ISizeableStream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<uint8_t> initial) : mData(std::move(initial)) {}

  const std::vector<uint8_t>& data() const { return mData; }
  int64_t position() const { return mPos; }
  void rewind() { mPos = 0; }

  vst3abi::tresult VST3ABI_CALL queryInterface(const vst3abi::TUID iid, void** obj) override;
  vst3abi::uint32 VST3ABI_CALL addRef() override { return mRefs.add(); }
  vst3abi::uint32 VST3ABI_CALL release() override;

  vst3abi::tresult VST3ABI_CALL read(void* buffer, vst3abi::int32 numBytes,
                                     vst3abi::int32* numBytesRead) override;
  vst3abi::tresult VST3ABI_CALL write(void* buffer, vst3abi::int32 numBytes,
                                      vst3abi::int32* numBytesWritten) override;
  vst3abi::tresult VST3ABI_CALL seek(vst3abi::int64 pos, vst3abi::int32 mode,
                                     vst3abi::int64* result) override;
  vst3abi::tresult VST3ABI_CALL tell(vst3abi::int64* pos) override;

  vst3abi::tresult VST3ABI_CALL getStreamSize(vst3abi::int64* size) override;
  vst3abi::tresult VST3ABI_CALL setStreamSize(vst3abi::int64 size) override;

  // Refuses to grow past this, so a runaway plug-in cannot exhaust memory through a stream.
  static constexpr int64_t kMaxSize = int64_t(1) << 31;

 private:
  ~MemoryStream() = default;

  RefCount mRefs;
  std::vector<uint8_t> mData;
  int64_t mPos = 0;
};

}  // namespace qvhost
