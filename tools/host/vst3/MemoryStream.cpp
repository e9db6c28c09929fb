// A growable in-memory byte stream handed to plug-ins for their state.
#include "host/vst3/MemoryStream.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "vst3/abi/ResultCodes.h"

using namespace vst3abi;

namespace qvhost {

tresult MemoryStream::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  if (uidEquals(iid, FUnknown::iid) || uidEquals(iid, IBStream::iid)) {
    *obj = static_cast<IBStream*>(this);
  } else if (uidEquals(iid, ISizeableStream::iid)) {
    *obj = static_cast<ISizeableStream*>(this);
  } else {
    *obj = nullptr;
    return kNoInterface;
  }
  addRef();
  return kResultOk;
}

uint32 MemoryStream::release() {
  const uint32 n = mRefs.sub();
  if (n == 0) delete this;
  return n;
}

tresult MemoryStream::read(void* buffer, int32 numBytes, int32* numBytesRead) {
  if (numBytesRead) *numBytesRead = 0;
  if (numBytes < 0 || (numBytes > 0 && !buffer)) return kInvalidArgument;
  const int64_t size = static_cast<int64_t>(mData.size());
  int64_t n = 0;
  if (mPos < size) n = std::min<int64_t>(numBytes, size - mPos);
  if (n > 0) std::memcpy(buffer, mData.data() + mPos, static_cast<size_t>(n));
  mPos += n;
  if (numBytesRead) *numBytesRead = static_cast<int32>(n);
  return kResultOk;
}

tresult MemoryStream::write(void* buffer, int32 numBytes, int32* numBytesWritten) {
  if (numBytesWritten) *numBytesWritten = 0;
  if (numBytes < 0 || (numBytes > 0 && !buffer)) return kInvalidArgument;
  if (numBytes == 0) return kResultOk;
  const int64_t end = mPos + numBytes;
  if (end > kMaxSize) return kOutOfMemory;
  try {
    if (end > static_cast<int64_t>(mData.size())) mData.resize(static_cast<size_t>(end));
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
  std::memcpy(mData.data() + mPos, buffer, static_cast<size_t>(numBytes));
  mPos = end;
  if (numBytesWritten) *numBytesWritten = numBytes;
  return kResultOk;
}

tresult MemoryStream::seek(int64 pos, int32 mode, int64* result) {
  int64_t base = 0;
  switch (mode) {
    case kIBSeekSet:
      base = 0;
      break;
    case kIBSeekCur:
      base = mPos;
      break;
    case kIBSeekEnd:
      base = static_cast<int64_t>(mData.size());
      break;
    default:
      return kInvalidArgument;
  }
  // Positions past the end are allowed (a later write fills the gap); before the start is not.
  if ((pos < 0 && base + pos < 0) || (pos > 0 && pos > kMaxSize - base)) return kInvalidArgument;
  mPos = base + pos;
  if (result) *result = mPos;
  return kResultOk;
}

tresult MemoryStream::tell(int64* pos) {
  if (!pos) return kInvalidArgument;
  *pos = mPos;
  return kResultOk;
}

tresult MemoryStream::getStreamSize(int64* size) {
  if (!size) return kInvalidArgument;
  *size = static_cast<int64>(mData.size());
  return kResultOk;
}

tresult MemoryStream::setStreamSize(int64 size) {
  if (size < 0 || size > kMaxSize) return kInvalidArgument;
  try {
    mData.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
  return kResultOk;
}

}  // namespace qvhost
