// The format of an output audio file: the container follows the file's extension (.wav, .flac,
// .aiff), the sample format is picked by name (--format); together they give libsndfile's format word.
#pragma once

#include <string>

namespace qvhost {

enum class SampleFormat { Float32, Float64, Int24, Int16 };

struct AudioFileFormat {
  int sndfileFormat = 0;
  SampleFormat sample = SampleFormat::Float32;
  bool integer() const { return sample == SampleFormat::Int24 || sample == SampleFormat::Int16; }
};

// "float32", "float64", "int24" or "int16".
bool parseSampleFormat(const std::string& name, SampleFormat* out);
const char* sampleFormatName(SampleFormat format);

// False with a message for an extension other than .wav, .flac, .aif or .aiff (any case), or a
// sample format the container cannot hold. requested null: float32 (float64 when precision is 64),
// or int24 for FLAC, which holds integers only.
bool outputFormatFor(const std::string& path, const SampleFormat* requested, int precision,
                     AudioFileFormat* out, std::string* error);

}  // namespace qvhost
