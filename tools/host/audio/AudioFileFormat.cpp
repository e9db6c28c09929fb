// The format of an output audio file, from its extension and the requested sample format.
#include "host/audio/AudioFileFormat.h"

#if defined(_WIN32)
// libsndfile's format words, which the built-in WAV codec (WavCodec.cpp) reads the same way.
enum {
  SF_FORMAT_WAV = 0x010000,
  SF_FORMAT_AIFF = 0x020000,
  SF_FORMAT_WAVEX = 0x130000,
  SF_FORMAT_FLAC = 0x170000,
  SF_FORMAT_PCM_16 = 0x0002,
  SF_FORMAT_PCM_24 = 0x0003,
  SF_FORMAT_FLOAT = 0x0006,
  SF_FORMAT_DOUBLE = 0x0007,
};
#else
#include <sndfile.h>
#endif

#include <cctype>

namespace qvhost {

namespace {

std::string extensionOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

}  // namespace

bool parseSampleFormat(const std::string& name, SampleFormat* out) {
  for (SampleFormat f :
       {SampleFormat::Float32, SampleFormat::Float64, SampleFormat::Int24, SampleFormat::Int16}) {
    if (name == sampleFormatName(f)) {
      *out = f;
      return true;
    }
  }
  return false;
}

const char* sampleFormatName(SampleFormat format) {
  switch (format) {
    case SampleFormat::Float32:
      return "float32";
    case SampleFormat::Float64:
      return "float64";
    case SampleFormat::Int24:
      return "int24";
    case SampleFormat::Int16:
      return "int16";
  }
  return "?";
}

bool outputFormatFor(const std::string& path, const SampleFormat* requested, int precision,
                     AudioFileFormat* out, std::string* error) {
  const std::string ext = extensionOf(path);
  int container = 0;
  bool floats = true;
  if (ext == "wav") {
    // The extensible header: float files with the plain 16-byte header lack the fmt extension
    // readers expect for non-PCM data.
    container = SF_FORMAT_WAVEX;
  } else if (ext == "aif" || ext == "aiff") {
    container = SF_FORMAT_AIFF;
  } else if (ext == "flac") {
    container = SF_FORMAT_FLAC;
    floats = false;
  } else {
    if (error) *error = "cannot tell the output format from '" + path + "': use .wav, .flac or .aiff";
    return false;
  }
  SampleFormat sample = precision == 64 ? SampleFormat::Float64 : SampleFormat::Float32;
  if (requested) {
    sample = *requested;
  } else if (!floats) {
    sample = SampleFormat::Int24;
  }
  const bool isFloat = sample == SampleFormat::Float32 || sample == SampleFormat::Float64;
  if (isFloat && !floats) {
    if (error)
      *error = std::string("FLAC holds integer samples only; use --format int24 or int16, not ") +
               sampleFormatName(sample);
    return false;
  }
  int subtype = SF_FORMAT_FLOAT;
  switch (sample) {
    case SampleFormat::Float32:
      subtype = SF_FORMAT_FLOAT;
      break;
    case SampleFormat::Float64:
      subtype = SF_FORMAT_DOUBLE;
      break;
    case SampleFormat::Int24:
      subtype = SF_FORMAT_PCM_24;
      break;
    case SampleFormat::Int16:
      subtype = SF_FORMAT_PCM_16;
      break;
  }
  // Integer WAV keeps the plain header every reader knows.
  if (container == SF_FORMAT_WAVEX && !isFloat) container = SF_FORMAT_WAV;
  out->sndfileFormat = container | subtype;
  out->sample = sample;
  return true;
}

}  // namespace qvhost
