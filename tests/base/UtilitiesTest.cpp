// RecursiveMutex, ToLower, CurrentTime and Timer.
#include "base/CurrentTime.h"
#include "base/RecursiveMutex.h"
#include "base/Timer.h"
#include "base/ToLower.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <regex>
#include <string>
#include <thread>

TEST(RecursiveMutex, NestsOnOneThreadAndExcludesOthers) {
  RecursiveMutex m;
  std::atomic<bool> otherHasIt{false};
  std::thread t;
  {
    RecursiveMutexLock outer(m);
    RecursiveMutexLock inner(&m);  // the same thread takes it again
    RecursiveMutexLock none(nullptr);
    t = std::thread([&] {
      RecursiveMutexLock lock(m);
      otherHasIt = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(otherHasIt.load());
  }
  t.join();
  EXPECT_TRUE(otherHasIt.load());
}

TEST(ToLower, LowersAndRespectsTheBufferSize) {
  char out[16];
  ToLower(out, "ReAPER64");
  EXPECT_STREQ(out, "reaper64");
  ToLower(out, "ABCDEFGHIJKL", 8);
  EXPECT_STREQ(out, "abcdefg");
  ToLower(out, nullptr, sizeof(out));
  EXPECT_STREQ(out, "");
}

TEST(CurrentTime, FormatsLocalTimeWithOffset) {
  std::string t = CurrentTime();
  EXPECT_TRUE(std::regex_match(t, std::regex(R"(\d{8} \d{2}:\d{2} [+-]\d{4})"))) << t;
}

TEST(CurrentTime, OffsetAcrossDayAndYearBoundaries) {
  EXPECT_EQ(UtcOffsetMinutes(14, 30, 100, 12, 0, 100), 150);
  EXPECT_EQ(UtcOffsetMinutes(1, 0, 101, 23, 0, 100), 120);   // local already tomorrow
  EXPECT_EQ(UtcOffsetMinutes(23, 0, 100, 1, 0, 101), -120);  // local still yesterday
  EXPECT_EQ(UtcOffsetMinutes(20, 0, 364, 2, 0, 0), -360);    // New Year: local behind
  EXPECT_EQ(UtcOffsetMinutes(9, 0, 0, 23, 0, 365), 600);     // New Year: local ahead
}

TEST(Timer, EveryFiresOnlyAfterTheInterval) {
  Timer t;
  EXPECT_FALSE(t.Every(3600.0));
  EXPECT_TRUE(t.Every(-1.0));
}
