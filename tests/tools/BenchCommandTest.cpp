// The bench command: its arguments, and measured runs through the small fake effect with a
// parameter set and the sidechain fed.
#include <gtest/gtest.h>

#include "host/cli/BenchCommand.h"

using namespace qvhost;

TEST(BenchCommand, ArgumentsAreCheckedBeforeAnythingLoads) {
  std::vector<BenchOptions> entries;
  std::string error;
  ASSERT_TRUE(parseBenchArgs({"x.vst3", "--seconds", "2.5", "--rate", "44100", "--block", "64", "--precision",
                              "64", "--repeat", "3", "--sidechain", "--set", "Gain=-6"},
                             &entries, &error))
      << error;
  ASSERT_EQ(entries.size(), 1u);
  const BenchOptions& o = entries[0];
  EXPECT_EQ(o.bundle, "x.vst3");
  EXPECT_EQ(o.seconds, 2.5);
  EXPECT_EQ(o.rate, 44100);
  EXPECT_EQ(o.block, 64);
  EXPECT_EQ(o.precision, 64);
  EXPECT_EQ(o.repeat, 3);
  EXPECT_TRUE(o.sidechain);
  EXPECT_EQ(o.sets, std::vector<std::string>{"Gain=-6"});

  // Several bundles: the per-bundle options follow their bundle, those before any bundle hold for
  // all, the rest are shared whatever their place.
  ASSERT_TRUE(parseBenchArgs({"--set", "Mix=50", "a.vst3", "--set", "HPF=200", "--sidechain", "b.vst3",
                              "--block", "32", "a.vst3", "--class", "Other"},
                             &entries, &error))
      << error;
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].sets, (std::vector<std::string>{"Mix=50", "HPF=200"}));
  EXPECT_TRUE(entries[0].sidechain);
  EXPECT_EQ(entries[1].sets, std::vector<std::string>{"Mix=50"});
  EXPECT_FALSE(entries[1].sidechain);
  EXPECT_EQ(entries[2].className, "Other");
  for (const auto& e : entries) EXPECT_EQ(e.block, 32);

  const std::vector<std::vector<std::string>> bad = {
      {},                               // no bundle
      {"--set", "A=1"},                 // still no bundle
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
    EXPECT_FALSE(parseBenchArgs(args, &entries, &error)) << (args.empty() ? "" : args.back());
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

  // Two entries of one bundle, interleaved: a run of each per round, and ratios to the first.
  BenchOptions quiet = o, loud = o;
  quiet.bundle = loud.bundle = QV_FAKE_EFFECT;
  quiet.sets = {"Gain=-6"};
  std::vector<BenchResult> results;
  ASSERT_TRUE(runBenchInterleaved({quiet, loud}, &results, &error)) << error;
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[1].realtime.size(), 3u);
  const std::vector<double> ratios = pairedRatios(results);
  EXPECT_EQ(ratios[0], 1.0);
  EXPECT_GT(ratios[1], 0.0);
}
