// The pre-shaper table's anchor rows and shape, and its interpolating lookup.
#include "plugin/dsp/TiltPreTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(TiltPreTable, HeaderAnchorsAndShape) {
  const auto& t = tiltpre_table;
  EXPECT_EQ(t.first, 0.0f);
  EXPECT_EQ(t.last, 0.833333f);
  EXPECT_EQ(t.spacing, 142.143f);
  EXPECT_EQ(t.count, 200);
  const struct {
    int k;
    float v;
  } anchors[] = {{0, 0.0f},        {1, 0.002005f},  {2, 0.007773f},  {5, 0.041237f},   {10, 0.129249f},
                 {20, 0.367224f},  {30, 0.655829f}, {34, 0.748632f}, {39, 0.726377f},  {50, 0.770381f},
                 {60, 0.816022f},  {70, 0.838048f}, {89, 0.844872f}, {120, 0.842413f}, {150, 0.839036f},
                 {180, 0.835553f}, {199, 0.833333f}};
  for (const auto& a : anchors) EXPECT_EQ(t.T[a.k], a.v) << a.k;

  // Rising to a local peak at 34, dipping to 39, rising to the global peak at 89, then sagging.
  for (int k = 1; k <= 34; ++k) EXPECT_GT(t.T[k], t.T[k - 1]) << k;
  for (int k = 35; k <= 39; ++k) EXPECT_LT(t.T[k], t.T[k - 1]) << k;
  for (int k = 40; k <= 89; ++k) EXPECT_GT(t.T[k], t.T[k - 1]) << k;
  for (int k = 90; k < 200; ++k) EXPECT_LT(t.T[k], t.T[k - 1]) << k;
  // Roughly square-law at first, and smooth: no second difference larger than the knee's.
  EXPECT_NEAR(t.T[2] / t.T[1], 4.0, 0.2);
  for (int k = 1; k < 199; ++k) EXPECT_LT(std::fabs(t.T[k + 1] - 2 * t.T[k] + t.T[k - 1]), 0.02) << k;
}

TEST(TiltPreTable, LookupInterpolatesAndKeepsTheSign) {
  const auto& T = tiltpre_table.T;
  const double step = 1.0 / 142.14300537109375;
  EXPECT_EQ(tiltPreShape(0.0), 0.0);
  EXPECT_DOUBLE_EQ(tiltPreShape(10 * step), T[10]);
  EXPECT_DOUBLE_EQ(tiltPreShape(10.25 * step), 0.75 * T[10] + 0.25 * T[11]);
  EXPECT_DOUBLE_EQ(tiltPreShape(-10.25 * step), -(0.75 * T[10] + 0.25 * T[11]));
  EXPECT_DOUBLE_EQ(tiltPreShape(198.5 * step), 0.5 * T[198] + 0.5 * T[199]);
  // Past the last interval the curve holds its end value.
  EXPECT_EQ(tiltPreShape(199.0 * step + 1e-9), 0.8333333134651184);
  EXPECT_EQ(tiltPreShape(-50.0), -0.8333333134651184);
  EXPECT_EQ(tiltPreShape(std::numeric_limits<double>::infinity()), 0.8333333134651184);
  EXPECT_EQ(tiltPreShape(std::numeric_limits<double>::quiet_NaN()), 0.0);
}
