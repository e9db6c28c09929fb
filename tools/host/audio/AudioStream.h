// Planar double-precision audio moving through the host: a source is read block by block (a file,
// the demo synthesizer, memory), a sink takes the processed blocks (a file, memory).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qvhost {

struct AudioData {
  double sampleRate = 0;
  std::vector<std::vector<double>> channels;

  int channelCount() const { return static_cast<int>(channels.size()); }
  size_t frames() const { return channels.empty() ? 0 : channels[0].size(); }
};

class AudioSource {
 public:
  virtual ~AudioSource() = default;
  virtual int channelCount() const = 0;
  virtual double sampleRate() const = 0;
  // Total length in frames when known in advance, else -1.
  virtual int64_t totalFrames() const = 0;
  // Fills up to frames frames into dest[channel]; returns how many, 0 at the end.
  virtual size_t read(double* const* dest, size_t frames) = 0;
};

class AudioSink {
 public:
  virtual ~AudioSink() = default;
  virtual bool write(const double* const* src, size_t frames, std::string* error) = 0;
  // Flushes and closes; reports a failure the writes could not see.
  virtual bool finish(std::string* error) = 0;
};

class MemorySource final : public AudioSource {
 public:
  explicit MemorySource(const AudioData& data) : mData(data) {}
  int channelCount() const override { return mData.channelCount(); }
  double sampleRate() const override { return mData.sampleRate; }
  int64_t totalFrames() const override { return static_cast<int64_t>(mData.frames()); }
  size_t read(double* const* dest, size_t frames) override;

 private:
  const AudioData& mData;
  size_t mPos = 0;
};

class MemorySink final : public AudioSink {
 public:
  MemorySink(AudioData& data, int channels, double sampleRate);
  bool write(const double* const* src, size_t frames, std::string* error) override;
  bool finish(std::string*) override { return true; }

 private:
  AudioData& mData;
};

}  // namespace qvhost
