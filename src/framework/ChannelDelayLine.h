// ChannelDelayLine: delays each input channel by the plug-in's latency while it is bypassed, so the
// bypassed signal stays aligned with the latency the host compensates for.
#pragma once

#include "base/TypedBuf.h"

#include <cstdint>

class ChannelDelayLine {
 public:
  ChannelDelayLine(int nInputChannels, int nOutputChannels, int64_t delay = 0);

  // Sets the delay, sizes the storage to delay samples per input channel, zeroes it and rewinds.
  // Negative delays count as 0. Returns false when the storage could not be allocated (the line
  // then passes nothing through until a later call succeeds).
  bool SetDelay(int64_t delay);
  int64_t GetDelay() const { return mDelay; }
  int GetInputChannelCount() const { return mNumInputs; }
  int GetOutputChannelCount() const { return mNumOutputs; }

  // For each frame and each channel present on both sides: the output gets the sample stored
  // delay frames earlier, then the input sample takes its place. Outputs beyond the input count
  // are not touched. Input and output may be the same buffer.
  void ProcessBlock(double** inputs, double** outputs, int nFrames);

 private:
  TypedBuf<double> mBuffer;
  int64_t mWritePos = 0;
  int mNumInputs;
  int mNumOutputs;
  int64_t mDelay = 0;
};
