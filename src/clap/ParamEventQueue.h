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

  // Values never take the last free slot, so a gesture can always be closed: a value that finds
  // the queue nearly full replaces the newest queued value of the same parameter instead (the host
  // still hears where the control ended), or is dropped.
  bool Push(Kind kind, uint32_t id, double value) {
    if (kind == Kind::kValue && mSize + 1 >= mEntries.size()) {
      for (size_t i = mSize; i-- > 0;) {
        Entry& e = mEntries[i];
        if (e.id != id) continue;
        if (e.kind != Kind::kValue) break;
        e.value = value;
        return true;
      }
      return false;
    }
    if (mSize == mEntries.size()) return false;
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
