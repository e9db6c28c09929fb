// Counts the heap allocations a stretch of code makes, for tests that prove the audio thread
// allocates nothing: operator new is replaced here, and where a sanitizer runtime offers malloc
// hooks every malloc of the process (the plug-in module's included) is counted too. Include it in
// exactly one file of a test program.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*))
    __attribute__((weak));

namespace alloccount {
inline std::atomic<bool> gCounting{false};
inline std::atomic<long> gCount{0};
inline void Note() {
  if (gCounting.load(std::memory_order_relaxed)) gCount.fetch_add(1, std::memory_order_relaxed);
}
inline void OnMalloc(const volatile void*, size_t) { Note(); }
inline void OnFree(const volatile void*) {}

// Counts allocations while it lives.
class Scope {
 public:
  Scope() {
    static const bool hooked = __sanitizer_install_malloc_and_free_hooks &&
                               __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree) != 0;
    (void)hooked;
    mStart = gCount.load();
    gCounting = true;
  }
  ~Scope() { gCounting = false; }
  long count() const { return gCount.load() - mStart; }

 private:
  long mStart = 0;
};
}  // namespace alloccount

// Every form of new and delete is replaced, so that no allocation made by one reaches the other
// side's runtime. Once inlined, GCC takes their malloc/free pairing for a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
inline void* CountedAlloc(std::size_t n) noexcept {
  alloccount::Note();
  return std::malloc(n ? n : 1);
}
void* operator new(std::size_t n) {
  if (void* p = CountedAlloc(n)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return CountedAlloc(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return CountedAlloc(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
