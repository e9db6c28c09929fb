// Running RMS and peak over all channels of a stream, reported in dBFS for the summary line.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qvhost {

class LevelMeter {
 public:
  void add(const double* const* channels, int channelCount, size_t frames);
  double rmsDb() const;  // -infinity for silence or no samples
  double peakDb() const;
  uint64_t samples() const { return mCount; }

 private:
  long double mSumSquares = 0;
  double mPeak = 0;
  uint64_t mCount = 0;
};

}  // namespace qvhost
