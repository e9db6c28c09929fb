// Running RMS and peak over all channels of a stream.
#include "host/audio/Levels.h"

#include <cmath>
#include <limits>

namespace qvhost {

void LevelMeter::add(const double* const* channels, int channelCount, size_t frames) {
  for (int c = 0; c < channelCount; ++c) {
    for (size_t i = 0; i < frames; ++i) {
      const double v = channels[c][i];
      if (!std::isfinite(v)) continue;
      mSumSquares += static_cast<long double>(v) * v;
      mPeak = std::fmax(mPeak, std::fabs(v));
    }
    mCount += frames;
  }
}

namespace {
double toDb(double linear) {
  return linear > 0 ? 20.0 * std::log10(linear) : -std::numeric_limits<double>::infinity();
}
}  // namespace

double LevelMeter::rmsDb() const {
  if (mCount == 0) return toDb(0);
  return toDb(std::sqrt(static_cast<double>(mSumSquares / static_cast<long double>(mCount))));
}

double LevelMeter::peakDb() const { return toDb(mPeak); }

}  // namespace qvhost
