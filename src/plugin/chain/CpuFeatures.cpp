// CPUID and XGETBV read directly: the compiler runtime's feature test may be missing from the Mac
// bundle's link.
#include "plugin/chain/CpuFeatures.h"

#if defined(__x86_64__)
#include <cpuid.h>
#endif

CpuFeatures CpuFeatures::FromRegisters(uint32_t leaf1Ecx, uint32_t leaf7Ebx, uint64_t xcr0) {
  const bool osxsave = (leaf1Ecx >> 27) & 1, fma = (leaf1Ecx >> 12) & 1;
  const bool avx2 = (leaf7Ebx >> 5) & 1, avx512f = (leaf7Ebx >> 16) & 1;
  if (!osxsave) xcr0 = 0;
  const uint64_t ymm = 0x6, zmm = 0xE0;  // SSE and AVX state; opmask, ZMM0-15 upper halves, ZMM16-31
  CpuFeatures f;
  f.avx2Fma = avx2 && fma && (xcr0 & ymm) == ymm;
  // The AVX-512 passes are compiled with AVX2 and FMA as well.
  f.avx512f = f.avx2Fma && avx512f && (xcr0 & zmm) == zmm;
  return f;
}

CpuFeatures CpuFeatures::Detect() {
#if defined(__x86_64__)
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid_count(1, 0, &eax, &ebx, &ecx, &edx)) return {};
  const uint32_t leaf1Ecx = ecx;
  uint64_t xcr0 = 0;
  if ((leaf1Ecx >> 27) & 1) {
    unsigned lo = 0, hi = 0;
    __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    xcr0 = (uint64_t{hi} << 32) | lo;
  }
  unsigned leaf7Ebx = 0;
  if (!__get_cpuid_count(7, 0, &eax, &leaf7Ebx, &ecx, &edx)) leaf7Ebx = 0;  // a CPU older than leaf 7
  return FromRegisters(leaf1Ecx, leaf7Ebx, xcr0);
#else
  return {};
#endif
}
