// Reading any audio file libsndfile understands, and writing WAV, FLAC or AIFF files (libsndfile);
// on Windows, where no build of it is packaged, WAV files alone (WavCodec.cpp).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/audio/AudioFileFormat.h"
#include "host/audio/AudioStream.h"

namespace qvhost {

class WavFileReader final : public AudioSource {
 public:
  // Null with a message when the file is missing, unreadable, or not audio.
  static std::unique_ptr<WavFileReader> open(const std::string& path, std::string* error);
  ~WavFileReader() override;

  int channelCount() const override { return mChannels; }
  double sampleRate() const override { return mRate; }
  int64_t totalFrames() const override { return mFrames; }
  size_t read(double* const* dest, size_t frames) override;
  // Empty, or how the file falls short of what its header announces (a cut-off download).
  const std::string& damage() const { return mDamage; }

 private:
  WavFileReader() = default;

  void* mFile = nullptr;  // SNDFILE*
  int mChannels = 0;
  double mRate = 0;
  int64_t mFrames = 0;
  std::string mDamage;
  std::vector<double> mInterleaved;
};

class WavFileWriter final : public AudioSink {
 public:
  static std::unique_ptr<WavFileWriter> create(const std::string& path, int channels, double sampleRate,
                                               const AudioFileFormat& format, std::string* error);
  // A float WAV file: bitsPerSample is 32 or 64.
  static std::unique_ptr<WavFileWriter> create(const std::string& path, int channels, double sampleRate,
                                               int bitsPerSample, std::string* error);
  ~WavFileWriter() override;

  bool write(const double* const* src, size_t frames, std::string* error) override;
  bool finish(std::string* error) override;

 private:
  WavFileWriter() = default;

  void* mFile = nullptr;  // SNDFILE*
  int mChannels = 0;
  std::string mPath;
  std::vector<double> mInterleaved;
};

// Whole-file conveniences for tests and tools.
bool readAudioFile(const std::string& path, AudioData* out, std::string* error);
bool writeAudioFile(const std::string& path, const AudioData& data, int bitsPerSample, std::string* error);

}  // namespace qvhost
