// Planar double-precision audio sources and sinks kept in memory.
#include "host/audio/AudioStream.h"

#include <algorithm>

namespace qvhost {

size_t MemorySource::read(double* const* dest, size_t frames) {
  const size_t n = std::min(frames, mData.frames() - std::min(mPos, mData.frames()));
  for (int c = 0; c < mData.channelCount(); ++c) {
    std::copy_n(mData.channels[static_cast<size_t>(c)].data() + mPos, n, dest[c]);
  }
  mPos += n;
  return n;
}

MemorySink::MemorySink(AudioData& data, int channels, double sampleRate) : mData(data) {
  mData.sampleRate = sampleRate;
  mData.channels.assign(static_cast<size_t>(channels), {});
}

bool MemorySink::write(const double* const* src, size_t frames, std::string*) {
  for (int c = 0; c < mData.channelCount(); ++c) {
    mData.channels[static_cast<size_t>(c)].insert(mData.channels[static_cast<size_t>(c)].end(), src[c],
                                                  src[c] + frames);
  }
  return true;
}

}  // namespace qvhost
