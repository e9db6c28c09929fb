// Reading any audio file libsndfile understands, and writing float WAV files.
#include "WavFile.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

namespace qvhost {

namespace {
// More channels than any real bus; guards buffer sizes against nonsense headers.
constexpr int kMaxChannels = 64;
constexpr size_t kChunkFrames = 4096;
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
        if (error) *error = "unsupported audio file '" + path + "': " + std::to_string(info.channels) +
                            " channels at " + std::to_string(info.samplerate) + " Hz";
        return nullptr;
    }
    std::unique_ptr<WavFileReader> r(new WavFileReader);
    r->mFile = f;
    r->mChannels = info.channels;
    r->mRate = info.samplerate;
    r->mFrames = info.frames;
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
        const sf_count_t got = sf_readf_double(static_cast<SNDFILE*>(mFile), mInterleaved.data(),
                                               static_cast<sf_count_t>(want));
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
                                                     int bitsPerSample, std::string* error) {
    if (channels < 1 || channels > kMaxChannels) {
        if (error) *error = "cannot write " + std::to_string(channels) + " channels";
        return nullptr;
    }
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = static_cast<int>(std::lround(sampleRate));
    info.format = SF_FORMAT_WAV | (bitsPerSample == 64 ? SF_FORMAT_DOUBLE : SF_FORMAT_FLOAT);
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!f) {
        if (error) *error = "cannot write '" + path + "': " + sf_strerror(nullptr);
        return nullptr;
    }
    // Float WAV is stored as is; no clipping or normalisation of the plug-in's output.
    sf_command(f, SFC_SET_NORM_DOUBLE, nullptr, SF_TRUE);
    std::unique_ptr<WavFileWriter> w(new WavFileWriter);
    w->mFile = f;
    w->mChannels = channels;
    w->mPath = path;
    w->mInterleaved.resize(kChunkFrames * static_cast<size_t>(channels));
    return w;
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

bool readAudioFile(const std::string& path, AudioData* out, std::string* error) {
    auto r = WavFileReader::open(path, error);
    if (!r) return false;
    out->sampleRate = r->sampleRate();
    out->channels.assign(static_cast<size_t>(r->channelCount()), {});
    std::vector<std::vector<double>> chunk(static_cast<size_t>(r->channelCount()), std::vector<double>(kChunkFrames));
    std::vector<double*> ptrs;
    for (auto& c : chunk) ptrs.push_back(c.data());
    for (;;) {
        const size_t n = r->read(ptrs.data(), kChunkFrames);
        if (n == 0) break;
        for (size_t c = 0; c < chunk.size(); ++c) out->channels[c].insert(out->channels[c].end(), chunk[c].begin(), chunk[c].begin() + static_cast<std::ptrdiff_t>(n));
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
