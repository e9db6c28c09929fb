// The passes on two doubles per register: the floor every x86-64 CPU runs.
#include "plugin/chain/ChainKernels.h"

// Empty in a universal build's other slices.
#if QV_CHAIN_X86
#include "plugin/chain/ChainPasses.h"
#include "plugin/chain/VecSse2.h"

const ChainKernels kChainKernelsSse2 = {
    "sse2",
    chainpass::InputStage<VecSse2>,
    chainpass::DetectorSaturator<VecSse2>,
    chainpass::OutputStage<VecSse2>,
    chainpass::PreShaper<VecSse2>,
    chainpass::GainComputer<VecSse2>,
};
#endif
