// Flush-to-zero and denormals-are-zero for the length of a scope, restoring the caller's setting on
// exit. Long decays into silence would otherwise crawl through denormal numbers at a fraction of the
// normal speed; the values flushed are below 1e-307, far under anything audible. Only the
// floating-point control register is touched: no system call. Threads: the register is the calling
// thread's own (the chain's Process, on the audio thread).
#pragma once

#if defined(__SSE2__) || defined(_M_X64)
#include <xmmintrin.h>

class FlushDenormals {
 public:
  FlushDenormals() : mSaved(_mm_getcsr()) { _mm_setcsr(mSaved | kFlushToZero | kDenormalsAreZero); }
  ~FlushDenormals() { _mm_setcsr(mSaved); }
  FlushDenormals(const FlushDenormals&) = delete;
  FlushDenormals& operator=(const FlushDenormals&) = delete;

 private:
  static constexpr unsigned kFlushToZero = 0x8000;
  static constexpr unsigned kDenormalsAreZero = 0x0040;
  unsigned mSaved;
};

#elif defined(__aarch64__)
#include <cstdint>

class FlushDenormals {
 public:
  FlushDenormals() {
    __asm__ __volatile__("mrs %0, fpcr" : "=r"(mSaved));
    const uint64_t flushed = mSaved | (uint64_t{1} << 24);
    __asm__ __volatile__("msr fpcr, %0" : : "r"(flushed));
  }
  ~FlushDenormals() { __asm__ __volatile__("msr fpcr, %0" : : "r"(mSaved)); }
  FlushDenormals(const FlushDenormals&) = delete;
  FlushDenormals& operator=(const FlushDenormals&) = delete;

 private:
  uint64_t mSaved;
};

#else
class FlushDenormals {};
#endif
