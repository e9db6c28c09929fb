// WAV files without libsndfile (Windows): RIFF/WAVE with integer PCM (8 to 32 bits) or IEEE float
// (32 or 64 bits), plain or extensible header. Files are named by UTF-8 paths and opened as UTF-16.
// Written files match libsndfile's: extensible headers for floats, the plain one for integers,
// integers scaled by 2^(bits-1) - 1 and clipped.
#if defined(_WIN32)

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "base/Utf8Path.h"
#include "host/audio/WavFile.h"

namespace qvhost {

namespace {
constexpr int kMaxChannels = 64;
constexpr size_t kChunkFrames = 4096;
constexpr uint16_t kFormatPcm = 1, kFormatFloat = 3, kFormatExtensible = 0xFFFE;
constexpr int kContainerMask = 0xFFFF0000, kSubtypeMask = 0xFFFF;
constexpr int kWav = 0x010000, kWavEx = 0x130000;
constexpr int kPcm16 = 0x0002, kPcm24 = 0x0003, kFloat = 0x0006, kDouble = 0x0007;

uint32_t le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }
uint16_t le16(const unsigned char* p) { return (uint16_t)(p[0] | p[1] << 8); }
void put16(unsigned char* p, uint32_t v) {
  p[0] = (unsigned char)v;
  p[1] = (unsigned char)(v >> 8);
}
void put32(unsigned char* p, uint32_t v) {
  put16(p, v);
  put16(p + 2, v >> 16);
}

struct WavIn {
  FILE* file = nullptr;
  int bits = 0;
  bool isFloat = false;
  uint64_t bytesLeft = 0;
};

struct WavOut {
  FILE* file = nullptr;
  int bits = 0;
  bool isFloat = false;
  bool extensible = false;
  uint64_t dataBytes = 0;
  long dataSizeAt = 0;
  std::vector<unsigned char> bytes;
};

double decodeSample(const unsigned char* p, int bits, bool isFloat) {
  if (isFloat) {
    if (bits == 32) {
      float f;
      std::memcpy(&f, p, 4);
      return f;
    }
    double d;
    std::memcpy(&d, p, 8);
    return d;
  }
  if (bits == 8) return (p[0] - 128) / 128.0;
  const int bytes = bits / 8;
  uint32_t u = 0;
  for (int i = 0; i < bytes; ++i) u |= (uint32_t)p[i] << (8 * (i + 4 - bytes));
  return (double)(int32_t)u / 2147483648.0;
}

void encodeSample(double v, int bits, bool isFloat, unsigned char* p) {
  if (isFloat) {
    if (bits == 32) {
      const float f = (float)v;
      std::memcpy(p, &f, 4);
    } else {
      std::memcpy(p, &v, 8);
    }
    return;
  }
  const double full = (double)((1u << (bits - 1)) - 1);
  const double scaled =
      std::isfinite(v) ? std::max(-full - 1, std::min(full, std::nearbyint(v * full))) : 0.0;
  const int32_t s = (int32_t)scaled;
  for (int i = 0; i < bits / 8; ++i) p[i] = (unsigned char)((uint32_t)s >> (8 * i));
}

std::string ioError(const std::string& verb, const std::string& path, const std::string& why) {
  return "cannot " + verb + " '" + path + "': " + why;
}
}  // namespace

std::unique_ptr<WavFileReader> WavFileReader::open(const std::string& path, std::string* error) {
  FILE* f = OpenUtf8File(path.c_str(), "rb");
  if (!f) {
    if (error) *error = ioError("read audio file", path, "no such file or no access");
    return nullptr;
  }
  unsigned char head[12];
  if (std::fread(head, 1, 12, f) != 12 || std::memcmp(head, "RIFF", 4) != 0 ||
      std::memcmp(head + 8, "WAVE", 4) != 0) {
    std::fclose(f);
    if (error) *error = ioError("read audio file", path, "not a WAV file (this build reads WAV files only)");
    return nullptr;
  }
  int channels = 0, bits = 0;
  uint32_t rate = 0;
  uint16_t format = 0;
  bool haveFormat = false;
  for (;;) {
    unsigned char chunk[8];
    if (std::fread(chunk, 1, 8, f) != 8) break;
    const uint32_t size = le32(chunk + 4);
    if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16 && size <= 64) {
      unsigned char fmt[64];
      if (std::fread(fmt, 1, size, f) != size) break;
      format = le16(fmt);
      channels = le16(fmt + 2);
      rate = le32(fmt + 4);
      bits = le16(fmt + 14);
      // The extensible header names the real format in its sub-format's first two bytes.
      if (format == kFormatExtensible && size >= 26) format = le16(fmt + 24);
      haveFormat = true;
      if (size & 1) std::fseek(f, 1, SEEK_CUR);
    } else if (std::memcmp(chunk, "data", 4) == 0 && haveFormat) {
      const bool isFloat = format == kFormatFloat;
      const bool known = (format == kFormatPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32)) ||
                         (isFloat && (bits == 32 || bits == 64));
      if (!known || channels < 1 || channels > kMaxChannels || rate == 0) {
        std::fclose(f);
        if (error)
          *error = "unsupported audio file '" + path + "': " + std::to_string(channels) + " channels at " +
                   std::to_string(rate) + " Hz, format " + std::to_string(format) + ", " +
                   std::to_string(bits) + " bits";
        return nullptr;
      }
      const long start = std::ftell(f);
      std::fseek(f, 0, SEEK_END);
      const long end = std::ftell(f);
      std::fseek(f, start, SEEK_SET);
      const uint64_t present = end > start ? (uint64_t)(end - start) : 0;
      const uint64_t frameBytes = (uint64_t)channels * (bits / 8);
      std::unique_ptr<WavFileReader> r(new WavFileReader);
      WavIn* in = new WavIn;
      in->file = f;
      in->bits = bits;
      in->isFloat = isFloat;
      in->bytesLeft = std::min<uint64_t>(size, present) / frameBytes * frameBytes;
      r->mFile = in;
      r->mChannels = channels;
      r->mRate = rate;
      r->mFrames = (int64_t)(in->bytesLeft / frameBytes);
      if (present < size) {
        char text[160];
        std::snprintf(text, sizeof text, "its header announces %.2f s of audio, but only %.2f s are present",
                      (double)size / frameBytes / rate, (double)r->mFrames / rate);
        r->mDamage = text;
      }
      r->mInterleaved.resize(kChunkFrames * (size_t)channels);
      return r;
    } else {
      if (std::fseek(f, (long)size + (size & 1), SEEK_CUR) != 0) break;
    }
  }
  std::fclose(f);
  if (error) *error = ioError("read audio file", path, "no audio data in the WAV file");
  return nullptr;
}

WavFileReader::~WavFileReader() {
  WavIn* in = static_cast<WavIn*>(mFile);
  if (!in) return;
  std::fclose(in->file);
  delete in;
}

size_t WavFileReader::read(double* const* dest, size_t frames) {
  WavIn* in = static_cast<WavIn*>(mFile);
  const size_t ch = (size_t)mChannels, sampleBytes = (size_t)in->bits / 8, frameBytes = ch * sampleBytes;
  std::vector<unsigned char> raw(kChunkFrames * frameBytes);
  size_t done = 0;
  while (done < frames && in->bytesLeft >= frameBytes) {
    const size_t want =
        (size_t)std::min<uint64_t>(std::min(kChunkFrames, frames - done), in->bytesLeft / frameBytes);
    const size_t got = std::fread(raw.data(), frameBytes, want, in->file);
    for (size_t i = 0; i < got; ++i) {
      for (size_t c = 0; c < ch; ++c) {
        const double v = decodeSample(&raw[i * frameBytes + c * sampleBytes], in->bits, in->isFloat);
        // Corrupt or non-finite samples must not reach the plug-in.
        dest[c][done + i] = std::isfinite(v) ? v : 0.0;
      }
    }
    done += got;
    in->bytesLeft -= got * frameBytes;
    if (got < want) {
      in->bytesLeft = 0;
      break;
    }
  }
  return done;
}

std::unique_ptr<WavFileWriter> WavFileWriter::create(const std::string& path, int channels, double sampleRate,
                                                     const AudioFileFormat& format, std::string* error) {
  if (channels < 1 || channels > kMaxChannels) {
    if (error) *error = "cannot write " + std::to_string(channels) + " channels";
    return nullptr;
  }
  const int container = format.sndfileFormat & kContainerMask, subtype = format.sndfileFormat & kSubtypeMask;
  if (container != kWav && container != kWavEx) {
    if (error) *error = ioError("write", path, "this build writes WAV files only");
    return nullptr;
  }
  std::unique_ptr<WavOut> out(new WavOut);
  out->isFloat = subtype == kFloat || subtype == kDouble;
  out->bits = subtype == kDouble ? 64 : subtype == kPcm16 ? 16 : subtype == kPcm24 ? 24 : 32;
  out->extensible = container == kWavEx;
  out->file = OpenUtf8File(path.c_str(), "wb");
  if (!out->file) {
    if (error) *error = ioError("write", path, "cannot create the file");
    return nullptr;
  }
  const uint32_t rate = (uint32_t)std::lround(sampleRate);
  const uint32_t blockAlign = (uint32_t)channels * out->bits / 8;
  unsigned char h[68] = {};
  const uint32_t fmtSize = out->extensible ? 40 : 16;
  std::memcpy(h, "RIFF", 4);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  put32(h + 16, fmtSize);
  put16(h + 20, out->extensible ? kFormatExtensible : out->isFloat ? kFormatFloat : kFormatPcm);
  put16(h + 22, (uint32_t)channels);
  put32(h + 24, rate);
  put32(h + 28, rate * blockAlign);
  put16(h + 32, blockAlign);
  put16(h + 34, (uint32_t)out->bits);
  size_t at = 36;
  if (out->extensible) {
    put16(h + 36, 22);
    put16(h + 38, (uint32_t)out->bits);
    put32(h + 40, channels == 2 ? 3u : channels == 1 ? 4u : 0u);
    // The sub-format GUID: the format tag, then the fixed tail every WAV sub-format shares.
    static const unsigned char kTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                            0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    put16(h + 44, out->isFloat ? kFormatFloat : kFormatPcm);
    std::memcpy(h + 46, kTail, sizeof kTail);
    at = 60;
  }
  std::memcpy(h + at, "data", 4);
  out->dataSizeAt = (long)at + 4;
  if (std::fwrite(h, 1, at + 8, out->file) != at + 8) {
    std::fclose(out->file);
    if (error) *error = ioError("write", path, "the disk refused the header");
    return nullptr;
  }
  std::unique_ptr<WavFileWriter> w(new WavFileWriter);
  w->mFile = out.release();
  w->mChannels = channels;
  w->mPath = path;
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
  WavOut* out = static_cast<WavOut*>(mFile);
  if (!out) return;
  std::fclose(out->file);
  delete out;
}

bool WavFileWriter::write(const double* const* src, size_t frames, std::string* error) {
  WavOut* out = static_cast<WavOut*>(mFile);
  const size_t ch = (size_t)mChannels, sampleBytes = (size_t)out->bits / 8;
  out->bytes.resize(frames * ch * sampleBytes);
  for (size_t i = 0; i < frames; ++i)
    for (size_t c = 0; c < ch; ++c)
      encodeSample(src[c][i], out->bits, out->isFloat, &out->bytes[(i * ch + c) * sampleBytes]);
  if (std::fwrite(out->bytes.data(), 1, out->bytes.size(), out->file) != out->bytes.size()) {
    if (error) *error = ioError("write", mPath, "the disk is full or refused the data");
    return false;
  }
  out->dataBytes += out->bytes.size();
  return true;
}

bool WavFileWriter::finish(std::string* error) {
  WavOut* out = static_cast<WavOut*>(mFile);
  if (!out) return true;
  mFile = nullptr;
  bool ok = out->dataBytes + out->dataSizeAt + 4 <= 0xFFFFFFFFu;
  if (out->dataBytes & 1) ok = ok && std::fputc(0, out->file) != EOF;
  unsigned char size[4];
  put32(size, (uint32_t)(out->dataSizeAt + 4 + out->dataBytes + (out->dataBytes & 1) - 8));
  ok = ok && std::fseek(out->file, 4, SEEK_SET) == 0 && std::fwrite(size, 1, 4, out->file) == 4;
  put32(size, (uint32_t)out->dataBytes);
  ok = ok && std::fseek(out->file, out->dataSizeAt, SEEK_SET) == 0 && std::fwrite(size, 1, 4, out->file) == 4;
  ok = std::fclose(out->file) == 0 && ok;
  delete out;
  if (!ok && error) *error = "cannot finish '" + mPath + "'";
  return ok;
}

}  // namespace qvhost

#endif
