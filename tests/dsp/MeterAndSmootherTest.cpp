// Meter ballistics and the one-pole smoother.
#include "plugin/dsp/OnePoleSmoother.h"
#include "plugin/dsp/VUClass.h"

#include <gtest/gtest.h>

TEST(VUClass, FallsFromFullScaleToOnePercentIn300ms) {
  VUClass vu(1.0);
  const double fs = 48000.0;
  double level = 1.0;
  for (int i = 0; i < 14400; ++i) level = vu.Process(0.0, fs);
  EXPECT_NEAR(level, 0.01, 1e-6);
  EXPECT_EQ(vu.step(0.0, VUClass::coefficient(fs)) < level, true);
}

TEST(VUClass, RisesPastTheInputThenHoversWithinOneStep) {
  VUClass vu(0.0);
  const double fs = 48000.0, coef = VUClass::coefficient(fs);
  int i = 0;
  while (vu.level <= 0.5 && i < 100000) {
    vu.Process(0.5, fs);
    ++i;
  }
  EXPECT_LT(i, 100000);
  EXPECT_LT(vu.level, 0.50625);
  for (int k = 0; k < 20000; ++k) {
    vu.Process(0.5, fs);
    EXPECT_NEAR(vu.level, 0.5, 0.5 * 0.0125 * (1.0 - coef) * 1.01);
  }
  EXPECT_EQ(VUClass(0.2).Process(-0.6, fs), VUClass(0.2).Process(0.6, fs));  // rectified
}

TEST(OnePoleSmoother, StepsTowardTheTarget) {
  OnePoleSmoother s;
  EXPECT_EQ(s.step(3.0), 3.0);  // a = 1, b = 0: passes through
  s.a = 0.25;
  s.b = 0.75;
  s.z = 0.0;
  EXPECT_EQ(s.step(1.0), 0.25);
  EXPECT_EQ(s.step(1.0), 0.25 * 0.75 + 0.25);
}
