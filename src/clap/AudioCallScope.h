// AudioCallScope: marks the calling thread as inside the host's process or flush call for the
// scope's life. A plug-in may not ask the host to flush from there; edits made meanwhile on the
// host's main thread still may, and must, since that call may be the last.
#pragma once

class AudioCallScope {
 public:
  AudioCallScope() : mOuter(sInside) { sInside = true; }
  ~AudioCallScope() { sInside = mOuter; }
  AudioCallScope(const AudioCallScope&) = delete;
  AudioCallScope& operator=(const AudioCallScope&) = delete;

  static bool Inside() { return sInside; }

 private:
  static thread_local bool sInside;
  bool mOuter;
};
