// The chain's vector passes for one instruction set, and the choice among those this build and this
// CPU can run. Every x86-64 build (Linux or macOS, with SLEEF or without) has the SSE2, AVX2 and
// AVX-512 forms; the plug-in must load on any x86-64: the portable and SSE2 forms are the floor; the
// AVX2 forms are taken only when the CPU reports AVX2 and FMA, the AVX-512 forms only when it reports
// AVX-512F, each with the system saving the registers. Other architectures have the portable forms
// alone. QV_CHAIN_KERNELS=portable|sse2|avx2 in the environment caps the choice (to measure a lesser
// CPU's speed on this one).
#pragma once

#include "plugin/dsp/GainComputer.h"

struct ChainKernels {
  // Buffers handed to the passes hold this many spare values past the count: passes work in whole
  // vectors.
  static constexpr int kPad = 8;

  const char* name;
  void (*inputStage)(double* x, int n, int xformer);
  void (*detectorSaturator)(double* x, int n);
  void (*outputStage)(double* x, int n);
  void (*preShaper)(const double* x, double* y, int n, double drive);
  GainComputer::BlockForm gainComputer;

  // The fastest set this CPU runs. Decided on first use (thread-safe); call it off the audio thread, as
  // the chain's constructor does on the main thread. The passes themselves are pure: any thread.
  static const ChainKernels& Best();
  // Every set this build and CPU can run, the portable set first (for tests and benchmarks); any
  // thread, off the audio thread for the first call.
  static int Count();
  static const ChainKernels& At(int index);
};

// The x86 forms exist in this slice of the binary: the compiler targets x86-64 (CMake builds their
// files whenever a target architecture is x86-64; in a universal build's arm64 slice they are empty).
#if defined(__x86_64__) || defined(_M_X64)
#define QV_CHAIN_X86 1
#else
#define QV_CHAIN_X86 0
#endif

// One set per instruction set, each defined in its own translation unit.
extern const ChainKernels kChainKernelsPortable;
#if QV_CHAIN_X86
extern const ChainKernels kChainKernelsSse2;
extern const ChainKernels kChainKernelsAvx2;
extern const ChainKernels kChainKernelsAvx512;
#endif
