// The portable passes and the choice of the passes at run time.
#include "plugin/chain/ChainKernels.h"

#include <array>
#include <cstdlib>
#include <cstring>

#include "plugin/chain/ChainPasses.h"
#include "plugin/chain/CpuFeatures.h"
#include "plugin/chain/VecPortable.h"
#include "plugin/dsp/TiltPreTable.h"

const std::array<double, 200> chainpass::kTiltPreWide = [] {
  std::array<double, 200> wide{};
  for (int i = 0; i < 200; ++i) wide[i] = tiltpre_table.T[i];
  return wide;
}();

const ChainKernels kChainKernelsPortable = {
    "portable",
    chainpass::InputStage<VecPortable>,
    chainpass::DetectorSaturator<VecPortable>,
    chainpass::OutputStage<VecPortable>,
    chainpass::PreShaper<VecPortable>,
    chainpass::GainComputer<VecPortable>,
};

namespace {

struct Available {
  const ChainKernels* sets[4];
  int count = 0;

  Available() {
    sets[count++] = &kChainKernelsPortable;
#if QV_CHAIN_X86
    sets[count++] = &kChainKernelsSse2;
    const CpuFeatures cpu = CpuFeatures::Detect();
    if (cpu.avx2Fma) sets[count++] = &kChainKernelsAvx2;
    if (cpu.avx512f) sets[count++] = &kChainKernelsAvx512;
#endif
    if (const char* cap = std::getenv("QV_CHAIN_KERNELS")) {
      for (int i = 0; i < count; ++i) {
        if (std::strcmp(sets[i]->name, cap) == 0) count = i + 1;
      }
    }
  }
};

const Available& Sets() {
  static const Available available;
  return available;
}

}  // namespace

const ChainKernels& ChainKernels::Best() { return *Sets().sets[Sets().count - 1]; }

int ChainKernels::Count() { return Sets().count; }

const ChainKernels& ChainKernels::At(int index) {
  const Available& a = Sets();
  return *a.sets[index < 0 ? 0 : (index < a.count ? index : a.count - 1)];
}
