// Which of the chain's wider vector forms this x86-64 CPU and its system can run (CPUID and XGETBV).
#pragma once

#include <cstdint>

struct CpuFeatures {
  bool avx2Fma = false;  // AVX2 and FMA, with the system saving the YMM registers
  bool avx512f = false;  // AVX-512F as well, with the system saving the ZMM and mask registers

  // From CPUID leaf 1's ECX, leaf 7 (subleaf 0)'s EBX and XCR0; XCR0 counts only where ECX reports
  // OSXSAVE (without it XGETBV faults, and the caller passes 0).
  static CpuFeatures FromRegisters(uint32_t leaf1Ecx, uint32_t leaf7Ebx, uint64_t xcr0);
  // This machine's; nothing on other architectures. Both are pure: any thread.
  static CpuFeatures Detect();
};
