// Real-time paced playback through an instance.
#include "host/editor/RealtimePlayer.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "host/audio/Render.h"

namespace qvhost {

void RealtimePlayer::start() {
  stop();
  mStop.store(false);
  mError.clear();
  mThread = std::thread([this] { run(); });
}

void RealtimePlayer::stop() {
  mStop.store(true);
  if (mThread.joinable()) mThread.join();
}

void RealtimePlayer::run() {
  using Clock = std::chrono::steady_clock;
  const auto frames = static_cast<size_t>(mProc.config().maxBlock);
  const double rate = mProc.config().sampleRate;
  std::unique_ptr<AudioSource> source = mSource ? mSource() : nullptr;
  const int srcChannels = source ? source->channelCount() : 0;

  const auto planar = [frames](int channels, std::vector<std::vector<double>>* data,
                               std::vector<double*>* ptrs) {
    data->assign(static_cast<size_t>(std::max(channels, 0)), std::vector<double>(frames));
    ptrs->clear();
    for (auto& c : *data) ptrs->push_back(c.data());
  };
  std::vector<std::vector<double>> src, in, out;
  std::vector<double*> srcPtr, inPtr, outPtr;
  planar(srcChannels, &src, &srcPtr);
  planar(mProc.mainInputChannels(), &in, &inPtr);
  planar(mProc.outputChannels(), &out, &outPtr);

  auto start = Clock::now();
  uint64_t played = 0;
  while (!mStop.load()) {
    size_t got = 0;
    for (int attempt = 0; source && got < frames && attempt < 2; ++attempt) {
      std::vector<double*> at(srcPtr);
      for (auto& p : at) p += got;
      const size_t n = source->read(at.data(), frames - got);
      got += n;
      if (got < frames) source = mSource();
    }
    for (auto& c : src) std::fill(c.begin() + static_cast<std::ptrdiff_t>(got), c.end(), 0.0);
    mapChannels(srcPtr.data(), srcChannels, inPtr.data(), mProc.mainInputChannels(), frames);
    if (!mProc.process(inPtr.data(), nullptr, outPtr.data(), static_cast<vst3abi::int32>(frames), &mError))
      break;
    mBlocks.fetch_add(1, std::memory_order_relaxed);

    played += frames;
    const auto due = start + std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double>(static_cast<double>(played) / rate));
    const auto now = Clock::now();
    if (now > due + std::chrono::seconds(1)) {
      // Far behind (a stalled machine): start counting afresh instead of racing to catch up.
      start = now;
      played = 0;
    } else {
      std::this_thread::sleep_until(due);
    }
  }
}

}  // namespace qvhost
