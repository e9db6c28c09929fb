// Timer: coarse processor-clock stopwatch for rate-limiting periodic work.
#pragma once

#include <ctime>

class Timer {
 public:
  Timer() { Restart(); }

  void Restart() { mLastClock = std::clock(); }

  // True, and restarts, when more than the given seconds of processor time have passed.
  bool Every(double seconds) {
    std::clock_t now = std::clock();
    if (static_cast<double>(now - mLastClock) > seconds * CLOCKS_PER_SEC) {
      mLastClock = now;
      return true;
    }
    return false;
  }

 private:
  std::clock_t mLastClock = 0;
};
