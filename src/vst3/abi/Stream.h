// Byte streams the host hands to the plug-in for state and preset data, with the optional
// size and attribute extensions a host may offer on the same object.
#pragma once

#include "vst3/abi/Unknown.h"

namespace vst3abi {

class IAttributeList;

class IBStream : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);

  enum IStreamSeekMode : int32 {
    kIBSeekSet = 0,  // absolute
    kIBSeekCur = 1,  // relative to the current position
    kIBSeekEnd = 2,  // relative to the end
  };

  // A short read still succeeds: always check numBytesRead. Both count pointers may be null.
  virtual tresult VST3ABI_CALL read(void* buffer, int32 numBytes, int32* numBytesRead) = 0;
  virtual tresult VST3ABI_CALL write(void* buffer, int32 numBytes, int32* numBytesWritten) = 0;
  virtual tresult VST3ABI_CALL seek(int64 pos, int32 mode, int64* result) = 0;
  virtual tresult VST3ABI_CALL tell(int64* pos) = 0;
};

class ISizeableStream : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x04F9549E, 0xE02F4E6E, 0x87E86A87, 0x47F4E17F);

  virtual tresult VST3ABI_CALL getStreamSize(int64* size) = 0;
  virtual tresult VST3ABI_CALL setStreamSize(int64 size) = 0;
};

class IStreamAttributes : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0xD6CE2FFC, 0xEFAF4B8C, 0x9E74F1BB, 0x12DA44B4);

  virtual tresult VST3ABI_CALL getFileName(String128 name) = 0;
  virtual IAttributeList* VST3ABI_CALL getAttributes() = 0;  // borrowed
};

}  // namespace vst3abi
