// ChannelDelayLine: one run of delay samples per input channel, shared write position.
#include "framework/ChannelDelayLine.h"

#include <climits>
#include <cstring>

ChannelDelayLine::ChannelDelayLine(int nInputChannels, int nOutputChannels, int64_t delay)
    : mNumInputs(nInputChannels > 0 ? nInputChannels : 0),
      mNumOutputs(nOutputChannels > 0 ? nOutputChannels : 0) {
  SetDelay(delay);
}

bool ChannelDelayLine::SetDelay(int64_t delay) {
  if (delay < 0) delay = 0;
  mWritePos = 0;
  int64_t total = delay * mNumInputs;
  double* buf = total <= INT_MAX ? mBuffer.Resize(static_cast<int>(total)) : nullptr;
  if (total > 0 && !buf) {
    mBuffer.Resize(0);
    mDelay = 0;
    return false;
  }
  mDelay = delay;
  if (buf) std::memset(buf, 0, sizeof(double) * static_cast<size_t>(total));
  return true;
}

void ChannelDelayLine::ProcessBlock(double** inputs, double** outputs, int nFrames) {
  if (mDelay <= 0 || !inputs || !outputs || nFrames <= 0) return;
  double* buf = mBuffer.Get();
  int nChans = mNumInputs < mNumOutputs ? mNumInputs : mNumOutputs;
  for (int s = 0; s < nFrames; ++s) {
    for (int c = 0; c < nChans; ++c) {
      double* run = buf + static_cast<int64_t>(c) * mDelay;
      const double* in = inputs[c];
      double* out = outputs[c];
      // Read first: input and output may be the same buffer.
      double x = in ? in[s] : 0.0;
      double y = run[mWritePos];
      run[mWritePos] = x;
      if (out) out[s] = y;
    }
    if (++mWritePos >= mDelay) mWritePos = 0;
  }
}
