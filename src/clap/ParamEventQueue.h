// ParamEventQueue: the editor's gestures and values on their way to the host, kept until the next
// process or flush call hands them over. Fixed capacity, so the audio thread never allocates; the
// owner guards it with the plug-in lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class ParamEventQueue {
 public:
  enum class Kind : uint8_t { kBegin, kValue, kEnd };
  struct Entry {
    Kind kind;
    uint32_t id;
    double value;
  };

  explicit ParamEventQueue(int capacity) : mEntries(static_cast<size_t>(capacity)) {}

  // A value that finds the queue full replaces the newest queued value of the same parameter, so
  // the host still hears where the control ended; gestures are never dropped while there is room.
  bool Push(Kind kind, uint32_t id, double value) {
    if (mSize == mEntries.size()) {
      if (kind != Kind::kValue) return false;
      for (size_t i = mSize; i-- > 0;) {
        Entry& e = mEntries[i];
        if (e.kind == Kind::kValue && e.id == id) {
          e.value = value;
          return true;
        }
      }
      return false;
    }
    mEntries[mSize++] = Entry{kind, id, value};
    return true;
  }

  size_t Size() const { return mSize; }
  const Entry& operator[](size_t i) const { return mEntries[i]; }
  // Drops the first n entries, keeping the rest in order.
  void Consume(size_t n) {
    if (n >= mSize) {
      mSize = 0;
      return;
    }
    for (size_t i = n; i < mSize; ++i) mEntries[i - n] = mEntries[i];
    mSize -= n;
  }

 private:
  std::vector<Entry> mEntries;
  size_t mSize = 0;
};
