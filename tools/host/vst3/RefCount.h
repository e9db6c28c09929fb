// Thread-safe reference counter for the host's own interface objects; a new object starts at one.
#pragma once

#include <atomic>
#include <cstdint>

namespace qvhost {

class RefCount {
 public:
  uint32_t add() { return mCount.fetch_add(1, std::memory_order_relaxed) + 1; }
  // The caller deletes the object when this returns zero.
  uint32_t sub() { return mCount.fetch_sub(1, std::memory_order_acq_rel) - 1; }

 private:
  std::atomic<uint32_t> mCount{1};
};

}  // namespace qvhost
