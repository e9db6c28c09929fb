// The passes on four doubles per register. Built with -mavx2 -mfma; reached only through
// ChainKernels::Best on a CPU that has both.
#include "plugin/chain/ChainKernels.h"

// Empty in a universal build's other slices.
#if QV_CHAIN_X86
#include "plugin/chain/ChainPasses.h"
#include "plugin/chain/VecAvx2.h"

const ChainKernels kChainKernelsAvx2 = {
    "avx2",
    chainpass::InputStage<VecAvx2>,
    chainpass::DetectorSaturator<VecAvx2>,
    chainpass::OutputStage<VecAvx2>,
    chainpass::PreShaper<VecAvx2>,
    chainpass::GainComputer<VecAvx2>,
};
#endif
