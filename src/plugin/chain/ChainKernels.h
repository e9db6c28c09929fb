// The chain's vector passes for one instruction set, and the choice among those this build and this
// CPU can run. The plug-in must load on any x86-64: the SSE2 forms are the floor; the AVX2 forms are
// taken only when the CPU reports AVX2 and FMA, the AVX-512 forms only when it reports AVX-512F with
// the system saving its registers. Builds without the vector maths library (macOS) have the scalar
// forms alone.
#pragma once

struct ChainKernels {
  // Buffers handed to the passes hold this many spare values past the count: passes work in whole
  // vectors.
  static constexpr int kPad = 8;

  const char* name;
  void (*inputStage)(double* x, int n, int xformer);
  void (*detectorSaturator)(double* x, int n);
  void (*outputStage)(double* x, int n);
  void (*preShaper)(const double* x, double* y, int n, double drive);
  void (*gainComputer)(const double* env, const double* threshold, double* reductionDb, double* gain, int n,
                       double kneeFactor, double slope);

  // The fastest set this CPU runs. Decided on first use; call it off the audio thread.
  static const ChainKernels& Best();
  // Every set this build and CPU can run, scalar first (for tests and benchmarks).
  static int Count();
  static const ChainKernels& At(int index);
};

// One set per instruction set, each defined in its own translation unit.
extern const ChainKernels kChainKernelsScalar;
#if defined(QV_HAVE_SLEEF)
extern const ChainKernels kChainKernelsSse2;
extern const ChainKernels kChainKernelsAvx2;
extern const ChainKernels kChainKernelsAvx512;
#endif
