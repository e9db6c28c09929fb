// IParam: ranges from the initialisers, the normalized mapping, quantisation and display text.
#include "framework/IParam.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {
std::string Display(const IParam& p, double v, bool normalized = false, bool texts = true) {
  char buf[IParam::kDisplayBufSize];
  p.GetDisplayForHost(v, normalized, buf, texts);
  return buf;
}
}  // namespace

TEST(IParam, DefaultsAndKindIsFixedByTheFirstInit) {
  IParam p;
  EXPECT_EQ(p.GetType(), IParam::kParamNone);
  EXPECT_EQ(p.GetMax(), 1.0);
  EXPECT_EQ(p.GetStep(), 1.0);
  EXPECT_TRUE(p.GetCanAutomate());
  EXPECT_STREQ(p.GetNameForHost(), "");

  p.InitInt("Count", 3, 0, 10, "st", "Grp");
  p.InitDouble("Gain", 0.5, 0.0, 2.0, 0.01);
  EXPECT_EQ(p.GetType(), IParam::kParamInt);
  EXPECT_STREQ(p.GetNameForHost(), "Gain");
  EXPECT_STREQ(p.GetParamGroupForHost(), "");
  EXPECT_EQ(p.GetMax(), 2.0);
  EXPECT_EQ(p.GetPrecision(), 2);
}

TEST(IParam, InitialisersNeverLeaveAnEmptyRange) {
  IParam i, e, d;
  i.InitInt("x", 0, 5, 5);
  EXPECT_EQ(i.GetMax(), 6.0);
  e.InitEnum("e", 0, 1);
  EXPECT_EQ(e.GetMax(), 1.0);
  d.InitDouble("d", 0.0, 0.0, 0.5, 1.0);
  EXPECT_EQ(d.GetMax(), 1.0);
  EXPECT_EQ(d.GetPrecision(), 0);

  IParam s;
  s.InitDouble("s", 1.0, 0.0, 10.0, 0.1, "", "", 0.0);  // shape 0 keeps the previous shape
  EXPECT_EQ(s.GetShape(), 1.0);
  s.SetShape(-2.0);
  EXPECT_EQ(s.GetShape(), -2.0);
}

TEST(IParam, PrecisionFollowsTheStep) {
  const struct {
    double step;
    int precision;
  } cases[] = {
      {1, 0}, {0.5, 1}, {0.1, 1}, {0.25, 2}, {0.01, 2}, {0.001, 3}, {0.125, 3}, {0.0001, 4}, {0.07, 6},
  };
  for (const auto& c : cases) {
    IParam p;
    p.InitDouble("p", 0.0, 0.0, 10.0, c.step);
    EXPECT_EQ(p.GetPrecision(), c.precision) << c.step;
  }
}

TEST(IParam, SetNormalizedRoundsWholeKindsAndClampsOnlyAtTheTop) {
  IParam i10, i9, d9;
  i10.InitInt("a", 0, 0, 10);
  i9.InitInt("b", 0, 0, 9);
  d9.InitDouble("c", 0.0, 0.0, 9.0, 0.01);

  i10.SetNormalized(0.5);
  EXPECT_EQ(i10.GetValue(), 5.0);
  i9.SetNormalized(0.5);  // 4.5 rounds half up
  EXPECT_EQ(i9.GetValue(), 5.0);
  d9.SetNormalized(0.5);  // doubles are not quantised to their step
  EXPECT_EQ(d9.GetValue(), 4.5);
  d9.SetNormalized(0.123456);
  EXPECT_DOUBLE_EQ(d9.GetValue(), 9.0 * 0.123456);

  i10.SetNormalized(1.2);
  EXPECT_EQ(i10.GetValue(), 10.0);
  i10.SetNormalized(-0.2);  // no lower clamp, by design
  EXPECT_EQ(i10.GetValue(), -2.0);

  IParam none;  // an uninitialised parameter still rounds to its step
  none.SetNormalized(0.4);
  EXPECT_EQ(none.GetValue(), 0.0);
}

TEST(IParam, SetNormalizedIgnoresValuesThatWouldNotBeFinite) {
  IParam p;
  p.InitDouble("p", 3.0, 0.0, 10.0, 0.1, "", "", 1.5);
  p.SetNormalized(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(p.GetValue(), 3.0);
  p.SetNormalized(-0.5);  // negative base with a fractional shape
  EXPECT_EQ(p.GetValue(), 3.0);
  IParam lin;
  lin.InitDouble("lin", 3.0, 0.0, 10.0, 0.1);
  lin.SetNormalized(-std::numeric_limits<double>::infinity());
  EXPECT_EQ(lin.GetValue(), 3.0);
  lin.SetNormalized(std::numeric_limits<double>::infinity());  // limited at the top as usual
  EXPECT_EQ(lin.GetValue(), 10.0);
  p.SetValue(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(p.GetValue(), 3.0);
  EXPECT_EQ(p.GetNormalized(std::numeric_limits<double>::quiet_NaN()), 0.0);
}

TEST(IParam, ShapedMappingRoundTrips) {
  IParam p;
  p.InitDouble("p", 0.0, 0.0, 100.0, 0.01, "", "", 2.0);
  EXPECT_DOUBLE_EQ(p.GetNonNormalized(0.5), 25.0);
  EXPECT_DOUBLE_EQ(p.GetNormalized(25.0), 0.5);
  EXPECT_EQ(p.GetNormalized(-5.0), 0.0);
  EXPECT_EQ(p.GetNormalized(500.0), 1.0);
  p.SetValue(250.0);
  EXPECT_EQ(p.GetValue(), 100.0);

  IParam q;
  q.InitDouble("q", 0.25, 0.0, 1.0, 0.001, "", "", 2.0);
  EXPECT_DOUBLE_EQ(q.GetDefaultNormalized(), 0.5);

  IParam db;
  db.InitDouble("db", -6.0, -24.0, 24.0, 0.1);
  EXPECT_NEAR(db.DBToAmp(), 0.5011872336, 1e-9);
}

TEST(IParam, BoolDisplayTextsAndCaseSensitiveMapping) {
  IParam b;
  b.InitBool("On", true, "lbl");
  EXPECT_EQ(Display(b, 1.0), "on");
  EXPECT_EQ(Display(b, 0.0), "off");
  EXPECT_EQ(Display(b, 1.0, false, false), "1");
  EXPECT_EQ(Display(b, 1.0, true), "on");
  EXPECT_STREQ(b.GetLabelForHost(), "");

  int v = 42;
  EXPECT_FALSE(b.MapDisplayText("On", &v));
  EXPECT_EQ(v, 42);
  EXPECT_TRUE(b.MapDisplayText("off", &v));
  EXPECT_EQ(v, 0);
  EXPECT_EQ(b.GetNDisplayTexts(), 2);
  EXPECT_STREQ(b.GetDisplayTextAtIdx(1, &v), "on");
  EXPECT_EQ(v, 1);
  EXPECT_STREQ(b.GetDisplayTextAtIdx(2, &v), "");
  EXPECT_STREQ(b.GetDisplayText(7), "");
}

TEST(IParam, NumbersShowSignsPrecisionAndNegation) {
  IParam p;
  p.InitDouble("p", 0.0, -1.0, 1.0, 0.1);
  EXPECT_EQ(Display(p, -0.04), "-0.0");
  p.SetNegateDisplay(true);
  EXPECT_EQ(Display(p, 0.0), "-0.0");
  EXPECT_EQ(Display(p, 0.5), "-0.5");

  IParam i;
  i.InitInt("i", 0, -10, 10, "st");
  EXPECT_EQ(Display(i, -3.7), "-3");  // truncated toward zero
  EXPECT_EQ(Display(i, 1e300), "2147483647");
}

TEST(IParam, EmptyDisplayTextFallsBackToNumberAndLabel) {
  IParam e;
  e.InitEnum("Mode", 0, 3, "unit");
  e.SetDisplayText(0, "");
  e.SetDisplayText(1, "Fast");
  e.SetDisplayText(1, "Shadowed");  // first match wins
  EXPECT_EQ(Display(e, 0.0), "0");
  EXPECT_STREQ(e.GetLabelForHost(), "unit");
  EXPECT_EQ(Display(e, 1.0), "Fast");
  e.SetValue(1.0);
  EXPECT_STREQ(e.GetLabelForHost(), "");
}

TEST(IParam, LongStringsAreCutTo31Characters) {
  const std::string longText(80, 'n');
  IParam p;
  p.InitEnum(longText.c_str(), 0, 2, longText.c_str(), longText.c_str());
  p.SetDisplayText(0, longText.c_str());
  EXPECT_EQ(std::string(p.GetNameForHost()), longText.substr(0, 31));
  EXPECT_EQ(std::string(p.GetParamGroupForHost()), longText.substr(0, 31));
  EXPECT_EQ(std::string(p.GetDisplayText(0)), longText.substr(0, 31));
  p.SetValue(1.0);
  EXPECT_EQ(std::string(p.GetLabelForHost()), longText.substr(0, 31));
}

TEST(IParam, DisplayIsBoundedByTheCallersBuffer) {
  IParam p;
  p.InitDouble("p", 0.0, -1e300, 1e300, 0.000001);
  char big[IParam::kDisplayBufSize];
  p.GetDisplayForHost(1e300, false, big, true);
  EXPECT_EQ(std::strlen(big), IParam::kDisplayBufSize - 1u);

  char small[8];
  std::memset(small, 'x', sizeof(small));
  p.GetDisplayForHost(123456789.0, false, small, true, sizeof(small));
  EXPECT_STREQ(small, "1234567");
}
