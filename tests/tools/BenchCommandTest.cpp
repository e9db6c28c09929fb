// The bench command: its arguments, and measured runs through the small fake effect with a
// parameter set and the sidechain fed.
#include <gtest/gtest.h>

#include "BenchCommand.h"

using namespace qvhost;

TEST(BenchCommand, ArgumentsAreCheckedBeforeAnythingLoads) {
  BenchOptions o;
  std::string error;
  ASSERT_TRUE(parseBenchArgs({"x.vst3", "--seconds", "2.5", "--rate", "44100", "--block", "64", "--precision",
                              "64", "--repeat", "3", "--sidechain", "--set", "Gain=-6"},
                             &o, &error))
      << error;
  EXPECT_EQ(o.bundle, "x.vst3");
  EXPECT_EQ(o.seconds, 2.5);
  EXPECT_EQ(o.rate, 44100);
  EXPECT_EQ(o.block, 64);
  EXPECT_EQ(o.precision, 64);
  EXPECT_EQ(o.repeat, 3);
  EXPECT_TRUE(o.sidechain);
  EXPECT_EQ(o.sets, std::vector<std::string>{"Gain=-6"});

  const std::vector<std::vector<std::string>> bad = {
      {},                               // no bundle
      {"a.vst3", "b.vst3"},             // two bundles
      {"a.vst3", "--precision", "48"},  // neither 32 nor 64
      {"a.vst3", "--block", "0"},
      {"a.vst3", "--seconds", "-1"},
      {"a.vst3", "--rate", "nan"},
      {"a.vst3", "--repeat", "2x"},
      {"a.vst3", "--seconds", "0.00001"},  // less than a frame
      {"a.vst3", "--repeat"},              // value missing
      {"a.vst3", "--loud"},
  };
  for (const auto& args : bad)
    EXPECT_FALSE(parseBenchArgs(args, &o, &error)) << (args.empty() ? "" : args.back());
}

TEST(BenchCommand, RunsEveryRepeatThroughTheFakeEffect) {
  BenchOptions o;
  o.bundle = QV_FAKE_EFFECT;
  o.seconds = 0.5;
  o.block = 100;
  o.repeat = 3;
  o.sidechain = true;
  o.sets = {"Gain=-6"};
  BenchResult result;
  std::string error;
  ASSERT_TRUE(runBench(o, &result, &error)) << error;
  ASSERT_EQ(result.realtime.size(), 3u);
  for (double x : result.realtime) EXPECT_GT(x, 1.0);
  EXPECT_LE(result.slowest(), result.median());

  o.sets = {"Nonexistent=1"};
  EXPECT_FALSE(runBench(o, &result, &error));
  o.sets.clear();
  o.bundle = "/nonexistent.vst3";
  EXPECT_FALSE(runBench(o, &result, &error));
}
