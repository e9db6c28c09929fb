// Whole audio files in memory, over the block reader and writer.
#include "host/audio/WavFile.h"

namespace qvhost {

namespace {
constexpr size_t kChunkFrames = 4096;
}  // namespace

bool readAudioFile(const std::string& path, AudioData* out, std::string* error) {
  auto r = WavFileReader::open(path, error);
  if (!r) return false;
  out->sampleRate = r->sampleRate();
  out->channels.assign(static_cast<size_t>(r->channelCount()), {});
  std::vector<std::vector<double>> chunk(static_cast<size_t>(r->channelCount()),
                                         std::vector<double>(kChunkFrames));
  std::vector<double*> ptrs;
  for (auto& c : chunk) ptrs.push_back(c.data());
  for (;;) {
    const size_t n = r->read(ptrs.data(), kChunkFrames);
    if (n == 0) break;
    for (size_t c = 0; c < chunk.size(); ++c)
      out->channels[c].insert(out->channels[c].end(), chunk[c].begin(),
                              chunk[c].begin() + static_cast<std::ptrdiff_t>(n));
  }
  return true;
}

bool writeAudioFile(const std::string& path, const AudioData& data, int bitsPerSample, std::string* error) {
  auto w = WavFileWriter::create(path, data.channelCount(), data.sampleRate, bitsPerSample, error);
  if (!w) return false;
  std::vector<const double*> ptrs;
  for (const auto& c : data.channels) ptrs.push_back(c.data());
  return w->write(ptrs.data(), data.frames(), error) && w->finish(error);
}

}  // namespace qvhost
