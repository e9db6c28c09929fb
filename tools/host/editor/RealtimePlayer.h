// Plays a source through an instance on a thread of its own, paced to real time the way a sound
// card paces a DAW (the output goes nowhere). The source starts over when it ends; without one the
// input is silence. Edits the controller reported reach the processor with the next block.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "host/audio/AudioStream.h"
#include "host/effect/EffectProcessor.h"
#include "host/effect/ProcessConfig.h"

namespace qvhost {

class RealtimePlayer {
 public:
  using SourceFactory = std::function<std::unique_ptr<AudioSource>()>;

  // proc must be started and must outlive the player; while playing, only this thread uses it.
  RealtimePlayer(EffectProcessor& proc, SourceFactory source) : mProc(proc), mSource(std::move(source)) {}
  ~RealtimePlayer() { stop(); }
  RealtimePlayer(const RealtimePlayer&) = delete;
  RealtimePlayer& operator=(const RealtimePlayer&) = delete;

  void start();
  // Waits for the block in progress; the processor is the caller's again afterwards.
  void stop();
  uint64_t blocks() const { return mBlocks.load(std::memory_order_relaxed); }
  // Why playing ended early; empty while all is well. Read after stop().
  const std::string& error() const { return mError; }

 private:
  void run();

  EffectProcessor& mProc;
  SourceFactory mSource;
  std::thread mThread;
  std::atomic<bool> mStop{false};
  std::atomic<uint64_t> mBlocks{0};
  std::string mError;
};

}  // namespace qvhost
