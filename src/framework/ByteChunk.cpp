// ByteChunk storage and the bounded readers of the state format.
#include "framework/ByteChunk.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>

#if __has_include("base/StrBuf.h")
#include "base/StrBuf.h"
#define QV_HAVE_STRBUF 1
#endif

ByteChunk::ByteChunk(const ByteChunk& other)
{
  AppendChunk(&other);
}

ByteChunk::ByteChunk(ByteChunk&& other) noexcept
  : mData(other.mData), mSize(other.mSize), mCapacity(other.mCapacity)
{
  other.mData = nullptr;
  other.mSize = other.mCapacity = 0;
}

ByteChunk& ByteChunk::operator=(const ByteChunk& other)
{
  if (this != &other)
  {
    Clear();
    AppendChunk(&other);
  }
  return *this;
}

ByteChunk& ByteChunk::operator=(ByteChunk&& other) noexcept
{
  if (this != &other)
  {
    std::free(mData);
    mData = other.mData;
    mSize = other.mSize;
    mCapacity = other.mCapacity;
    other.mData = nullptr;
    other.mSize = other.mCapacity = 0;
  }
  return *this;
}

ByteChunk::~ByteChunk()
{
  std::free(mData);
}

bool ByteChunk::Reserve(long long n)
{
  if (n <= mCapacity)
    return true;
  if (n > INT_MAX)
    return false;
  // Headroom of half the request keeps repeated appends amortised.
  long long cap = n + n / 2;
  cap = (cap + kGranularity - 1) / kGranularity * kGranularity;
  if (cap > INT_MAX)
    cap = n;
  void* p = std::realloc(mData, static_cast<size_t>(cap));
  if (!p)
    return false;
  mData = static_cast<unsigned char*>(p);
  mCapacity = static_cast<int>(cap);
  return true;
}

int ByteChunk::AppendBytes(const void* p, int n)
{
  if (n <= 0)
    return mSize;
  if (!p || !Reserve(static_cast<long long>(mSize) + n))
    return 0;
  std::memmove(mData + mSize, p, static_cast<size_t>(n));
  mSize += n;
  return mSize;
}

int ByteChunk::AppendBool(bool b)
{
  unsigned char byte = b ? 1 : 0;
  return AppendBytes(&byte, 1);
}

int ByteChunk::AppendString(const char* s)
{
  size_t len = s ? std::strlen(s) : 0;
  if (len > static_cast<size_t>(INT32_MAX - 4))
    return 0;
  int32_t n = static_cast<int32_t>(len);
  if (!Reserve(static_cast<long long>(mSize) + 4 + n))
    return 0;
  AppendValue(&n);
  return AppendBytes(s, n);
}

int ByteChunk::AppendChunk(const ByteChunk* c)
{
  if (!c || c->mSize == 0)
    return mSize;
  if (c == this)
  {
    if (!Reserve(2LL * mSize))
      return 0;
    std::memcpy(mData + mSize, mData, static_cast<size_t>(mSize));
    mSize *= 2;
    return mSize;
  }
  return AppendBytes(c->mData, c->mSize);
}

int ByteChunk::ReadBytes(void* p, int n, int pos) const
{
  if (pos < 0 || n < 0 || pos > mSize || n > mSize - pos)
    return -1;
  if (n > 0)
    std::memcpy(p, mData + pos, static_cast<size_t>(n));
  return pos + n;
}

int ByteChunk::ReadBool(bool* b, int pos) const
{
  unsigned char byte = 0;
  pos = ReadBytes(&byte, 1, pos);
  if (pos >= 0)
    *b = byte != 0;
  return pos;
}

int ByteChunk::ReadStringView(const char** text, int* len, int pos) const
{
  int32_t n = 0;
  pos = ReadValue(&n, pos);
  // Writers never store a negative length; one means the stream is corrupt.
  if (pos < 0 || n < 0)
    return -1;
  long long end = static_cast<long long>(pos) + n;
  if (end > INT_MAX)
    return -1;
  if (end <= mSize)
  {
    const char* chars = reinterpret_cast<const char*>(mData + pos);
    const void* nul = n > 0 ? std::memchr(chars, 0, static_cast<size_t>(n)) : nullptr;
    *text = n > 0 ? chars : "";
    *len = nul ? static_cast<int>(static_cast<const char*>(nul) - chars) : n;
  }
  return static_cast<int>(end);
}

#ifdef QV_HAVE_STRBUF
int ByteChunk::ReadString(StrBuf* s, int pos) const
{
  const char* text = nullptr;
  int len = 0;
  int end = ReadStringView(&text, &len, pos);
  if (end >= 0 && end <= mSize)
    s->Set(text, len);
  return end;
}
#endif

int ByteChunk::Resize(int n)
{
  if (n < 0)
    n = 0;
  if (n > mSize)
  {
    if (!Reserve(n))
      return mSize;
    std::memset(mData + mSize, 0, static_cast<size_t>(n - mSize));
  }
  mSize = n;
  return mSize;
}
