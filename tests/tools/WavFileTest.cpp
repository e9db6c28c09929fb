// Audio input and output through libsndfile: 32- and 64-bit float files come back exactly, other
// formats read normalised, the container follows the extension, and unreadable or cut-off files are
// reported instead of processed silently.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

#include "host/audio/WavFile.h"

using namespace qvhost;

namespace {

std::string tempPath(const std::string& name) {
  return testing::TempDir() + "qvhost_" + std::to_string(::getpid()) + "_" + name;
}

AudioData makeSignal(double rate, int channels, size_t frames) {
  AudioData d;
  d.sampleRate = rate;
  d.channels.assign(static_cast<size_t>(channels), std::vector<double>(frames));
  for (int c = 0; c < channels; ++c) {
    for (size_t i = 0; i < frames; ++i) {
      d.channels[static_cast<size_t>(c)][i] =
          0.7 * std::sin(0.01 * static_cast<double>(i) * (c + 1)) + 1e-9 * c;
    }
  }
  return d;
}

}  // namespace

TEST(WavFile, FloatFilesRoundTripAtBothPrecisions) {
  const AudioData src = makeSignal(44100, 3, 10007);  // not a multiple of the internal chunk size
  for (int bits : {32, 64}) {
    const std::string path = tempPath("rt" + std::to_string(bits) + ".wav");
    std::string error;
    ASSERT_TRUE(writeAudioFile(path, src, bits, &error)) << error;
    AudioData back;
    ASSERT_TRUE(readAudioFile(path, &back, &error)) << error;
    EXPECT_EQ(back.sampleRate, 44100);
    ASSERT_EQ(back.channelCount(), 3);
    ASSERT_EQ(back.frames(), src.frames());
    for (int c = 0; c < 3; ++c) {
      for (size_t i = 0; i < src.frames(); ++i) {
        const double want = bits == 64 ? src.channels[size_t(c)][i]
                                       : static_cast<double>(static_cast<float>(src.channels[size_t(c)][i]));
        ASSERT_EQ(back.channels[size_t(c)][i], want) << "bits " << bits << " ch " << c << " frame " << i;
      }
    }
    // Levels above full scale must survive a float file untouched.
    AudioData loud = makeSignal(48000, 1, 16);
    loud.channels[0][3] = 4.0;
    ASSERT_TRUE(writeAudioFile(path, loud, bits, &error)) << error;
    ASSERT_TRUE(readAudioFile(path, &back, &error)) << error;
    EXPECT_EQ(back.channels[0][3], 4.0);
    std::remove(path.c_str());
  }
}

TEST(WavFile, NonFiniteSamplesInAFileReachTheHostAsSilence) {
  AudioData d = makeSignal(48000, 2, 8);
  d.channels[0][2] = std::numeric_limits<double>::quiet_NaN();
  d.channels[1][5] = std::numeric_limits<double>::infinity();
  const std::string path = tempPath("nan.wav");
  std::string error;
  ASSERT_TRUE(writeAudioFile(path, d, 64, &error)) << error;
  AudioData back;
  ASSERT_TRUE(readAudioFile(path, &back, &error)) << error;
  EXPECT_EQ(back.channels[0][2], 0.0);
  EXPECT_EQ(back.channels[1][5], 0.0);
  EXPECT_EQ(back.channels[0][3], d.channels[0][3]);
  std::remove(path.c_str());
}

TEST(WavFile, UnreadableFilesAreReportedWithTheirPath) {
  std::string error;
  AudioData out;
  EXPECT_FALSE(readAudioFile(tempPath("missing.wav"), &out, &error));
  EXPECT_NE(error.find("missing.wav"), std::string::npos);

  const std::string junk = tempPath("junk.wav");
  {
    std::ofstream f(junk, std::ios::binary);
    f << "RIFF\x10\x00\x00\x00WAVEjunkjunkjunk";
  }
  error.clear();
  EXPECT_EQ(WavFileReader::open(junk, &error), nullptr);
  EXPECT_NE(error.find("junk.wav"), std::string::npos);
  std::remove(junk.c_str());

  error.clear();
  EXPECT_EQ(WavFileWriter::create(tempPath("no/such/dir/out.wav"), 2, 48000, 32, &error), nullptr);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(WavFileWriter::create(tempPath("zero.wav"), 0, 48000, 32, &error), nullptr);
}

TEST(WavFile, OutputFormatFollowsTheExtensionAndACutFileIsNoticed) {
  const AudioData src = makeSignal(48000, 2, 4800);
  const auto written = [&](const std::string& name, const SampleFormat* sample) {
    AudioFileFormat format;
    std::string error;
    if (!outputFormatFor(name, sample, 32, &format, &error)) return -1;
    auto w = WavFileWriter::create(tempPath(name), 2, 48000, format, &error);
    std::vector<const double*> ptrs{src.channels[0].data(), src.channels[1].data()};
    EXPECT_TRUE(w && w->write(ptrs.data(), src.frames(), &error) && w->finish(&error)) << error;
    SF_INFO info{};
    sf_close(sf_open(tempPath(name).c_str(), SFM_READ, &info));
    std::remove(tempPath(name).c_str());
    return info.format;
  };
  const SampleFormat int16 = SampleFormat::Int16, float32 = SampleFormat::Float32;
  // Float WAV needs the fmt extension readers expect for non-PCM data.
  EXPECT_EQ(written("f.wav", nullptr), SF_FORMAT_WAVEX | SF_FORMAT_FLOAT);
  EXPECT_EQ(written("f.FLAC", nullptr), SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
  EXPECT_EQ(written("f.aiff", &int16), SF_FORMAT_AIFF | SF_FORMAT_PCM_16);
  EXPECT_EQ(written("f.flac", &float32), -1);
  EXPECT_EQ(written("f.mp3", nullptr), -1);

  const std::string whole = tempPath("whole.wav"), cut = tempPath("cut.wav");
  std::string error;
  ASSERT_TRUE(writeAudioFile(whole, src, 32, &error)) << error;
  std::string bytes;
  {
    std::ifstream f(whole, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(f), {});
  }
  std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() / 3);
  auto reader = WavFileReader::open(cut, &error);
  ASSERT_TRUE(reader) << error;
  EXPECT_NE(reader->damage().find("announces 0.10 s of audio, but only 0.03 s"), std::string::npos)
      << reader->damage();
  EXPECT_EQ(WavFileReader::open(whole, &error)->damage(), "");
  std::remove(whole.c_str());
  std::remove(cut.c_str());
}
