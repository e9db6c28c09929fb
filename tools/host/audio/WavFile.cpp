// Reading any audio file libsndfile understands, and writing WAV, FLAC or AIFF files.
#include "host/audio/WavFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace qvhost {

namespace {
// More channels than any real bus; guards buffer sizes against nonsense headers.
constexpr int kMaxChannels = 64;
constexpr size_t kChunkFrames = 4096;

// libsndfile reads a cut-off file up to where it ends and says so only in its log, as a chunk
// whose header size is followed by "(should be N)".
std::string damageFromLog(SNDFILE* f, const SF_INFO& info) {
  char log[8192] = {};
  sf_command(f, SFC_GET_LOG_INFO, log, sizeof log);
  std::istringstream lines(log);
  std::string line;
  while (std::getline(lines, line)) {
    const bool audioChunk = line.rfind("data", 0) == 0 || line.rfind("SSND", 0) == 0;
    const size_t should = line.find("(should be ");
    const size_t colon = line.find(':');
    if (!audioChunk || should == std::string::npos || colon == std::string::npos || colon > should) continue;
    const long long announced = std::atoll(line.c_str() + colon + 1);
    const long long present = std::atoll(line.c_str() + should + 11);
    if (present >= announced || present <= 0) continue;
    if (info.frames <= 0) {
      return "its header announces " + std::to_string(announced) + " bytes of audio, but only " +
             std::to_string(present) + " are present";
    }
    const double secondsPresent = static_cast<double>(info.frames) / info.samplerate;
    char text[128];
    std::snprintf(text, sizeof text, "its header announces %.2f s of audio, but only %.2f s are present",
                  secondsPresent * static_cast<double>(announced) / static_cast<double>(present),
                  secondsPresent);
    return text;
  }
  return {};
}

}  // namespace

std::unique_ptr<WavFileReader> WavFileReader::open(const std::string& path, std::string* error) {
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  if (!f) {
    if (error) *error = "cannot read audio file '" + path + "': " + sf_strerror(nullptr);
    return nullptr;
  }
  if (info.channels < 1 || info.channels > kMaxChannels || info.samplerate <= 0) {
    sf_close(f);
    if (error)
      *error = "unsupported audio file '" + path + "': " + std::to_string(info.channels) + " channels at " +
               std::to_string(info.samplerate) + " Hz";
    return nullptr;
  }
  std::unique_ptr<WavFileReader> r(new WavFileReader);
  r->mFile = f;
  r->mChannels = info.channels;
  r->mRate = info.samplerate;
  r->mFrames = info.frames;
  r->mDamage = damageFromLog(f, info);
  r->mInterleaved.resize(kChunkFrames * static_cast<size_t>(info.channels));
  return r;
}

WavFileReader::~WavFileReader() {
  if (mFile) sf_close(static_cast<SNDFILE*>(mFile));
}

size_t WavFileReader::read(double* const* dest, size_t frames) {
  size_t done = 0;
  const auto ch = static_cast<size_t>(mChannels);
  while (done < frames) {
    const size_t want = std::min(kChunkFrames, frames - done);
    const sf_count_t got =
        sf_readf_double(static_cast<SNDFILE*>(mFile), mInterleaved.data(), static_cast<sf_count_t>(want));
    if (got <= 0) break;
    for (size_t i = 0; i < static_cast<size_t>(got); ++i) {
      for (size_t c = 0; c < ch; ++c) {
        const double v = mInterleaved[i * ch + c];
        // Corrupt or non-finite samples must not reach the plug-in.
        dest[c][done + i] = std::isfinite(v) ? v : 0.0;
      }
    }
    done += static_cast<size_t>(got);
    if (static_cast<size_t>(got) < want) break;
  }
  return done;
}

std::unique_ptr<WavFileWriter> WavFileWriter::create(const std::string& path, int channels, double sampleRate,
                                                     const AudioFileFormat& format, std::string* error) {
  if (channels < 1 || channels > kMaxChannels) {
    if (error) *error = "cannot write " + std::to_string(channels) + " channels";
    return nullptr;
  }
  SF_INFO info{};
  info.channels = channels;
  info.samplerate = static_cast<int>(std::lround(sampleRate));
  info.format = format.sndfileFormat;
  SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!f) {
    if (error) *error = "cannot write '" + path + "': " + sf_strerror(nullptr);
    return nullptr;
  }
  // Float files are stored as is, with no clipping or normalisation of the plug-in's output;
  // integer files clip at full scale rather than wrap around.
  sf_command(f, SFC_SET_NORM_DOUBLE, nullptr, SF_TRUE);
  if (format.integer()) sf_command(f, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  std::unique_ptr<WavFileWriter> w(new WavFileWriter);
  w->mFile = f;
  w->mChannels = channels;
  w->mPath = path;
  w->mInterleaved.resize(kChunkFrames * static_cast<size_t>(channels));
  return w;
}

std::unique_ptr<WavFileWriter> WavFileWriter::create(const std::string& path, int channels, double sampleRate,
                                                     int bitsPerSample, std::string* error) {
  AudioFileFormat format;
  const SampleFormat sample = bitsPerSample == 64 ? SampleFormat::Float64 : SampleFormat::Float32;
  if (!outputFormatFor(".wav", &sample, bitsPerSample, &format, error)) return nullptr;
  return create(path, channels, sampleRate, format, error);
}

WavFileWriter::~WavFileWriter() {
  if (mFile) sf_close(static_cast<SNDFILE*>(mFile));
}

bool WavFileWriter::write(const double* const* src, size_t frames, std::string* error) {
  const auto ch = static_cast<size_t>(mChannels);
  for (size_t done = 0; done < frames;) {
    const size_t n = std::min(kChunkFrames, frames - done);
    for (size_t i = 0; i < n; ++i) {
      for (size_t c = 0; c < ch; ++c) mInterleaved[i * ch + c] = src[c][done + i];
    }
    if (sf_writef_double(static_cast<SNDFILE*>(mFile), mInterleaved.data(), static_cast<sf_count_t>(n)) !=
        static_cast<sf_count_t>(n)) {
      if (error) *error = "cannot write '" + mPath + "': " + sf_strerror(static_cast<SNDFILE*>(mFile));
      return false;
    }
    done += n;
  }
  return true;
}

bool WavFileWriter::finish(std::string* error) {
  if (!mFile) return true;
  SNDFILE* f = static_cast<SNDFILE*>(mFile);
  mFile = nullptr;
  sf_write_sync(f);
  if (sf_close(f) != 0) {
    if (error) *error = "cannot finish '" + mPath + "'";
    return false;
  }
  return true;
}

}  // namespace qvhost
