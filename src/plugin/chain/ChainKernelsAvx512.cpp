// The passes on eight doubles per register. Built with -mavx512f; reached only through
// ChainKernels::Best on a CPU (and system) that has it.
#include "plugin/chain/ChainKernels.h"

// Empty in a universal build's other slices.
#if QV_CHAIN_X86
#include "plugin/chain/ChainPasses.h"
#include "plugin/chain/VecAvx512.h"

const ChainKernels kChainKernelsAvx512 = {
    "avx512",
    chainpass::InputStage<VecAvx512>,
    chainpass::DetectorSaturator<VecAvx512>,
    chainpass::OutputStage<VecAvx512>,
    chainpass::PreShaper<VecAvx512>,
    chainpass::GainComputer<VecAvx512>,
};
#endif
