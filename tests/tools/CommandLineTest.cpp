// Command-line parsing of the host: every malformed invocation is refused with a message before
// anything is loaded, and well-formed ones come through complete.
#include <gtest/gtest.h>

#include "host/cli/CommandLine.h"

using qvhost::CommandLine;
using qvhost::parseCommandLine;

namespace {

std::string errorOf(const std::vector<std::string>& args) {
  CommandLine cl;
  std::string error;
  EXPECT_FALSE(parseCommandLine(args, &cl, &error)) << "accepted: " << (args.empty() ? "" : args[0]);
  EXPECT_FALSE(error.empty());
  return error;
}

}  // namespace

TEST(CommandLine, ParsesAFullProcessInvocation) {
  CommandLine cl;
  std::string error;
  ASSERT_TRUE(parseCommandLine(
      {"process",     "Q.vst3",         "--out",       "o.wav",       "--demo",      "2.5",    "--set",
       "Ratio=4",     "--set=Bypass=0", "--block=256", "--precision", "64",          "--rate", "44100",
       "--sidechain", "sc.wav",         "--state-in",  "a.st",        "--state-out", "b.st"},
      &cl, &error))
      << error;
  EXPECT_EQ(cl.command, CommandLine::Command::Process);
  EXPECT_EQ(cl.bundle, "Q.vst3");
  EXPECT_EQ(cl.out, "o.wav");
  EXPECT_TRUE(cl.demo);
  EXPECT_DOUBLE_EQ(cl.demoSeconds, 2.5);
  EXPECT_EQ(cl.sets, (std::vector<std::string>{"Ratio=4", "Bypass=0"}));
  EXPECT_EQ(cl.block, 256);
  EXPECT_EQ(cl.precision, 64);
  EXPECT_DOUBLE_EQ(cl.rate, 44100);
  EXPECT_EQ(cl.sidechain, "sc.wav");
  EXPECT_EQ(cl.stateIn, "a.st");
  EXPECT_EQ(cl.stateOut, "b.st");

  ASSERT_TRUE(parseCommandLine({"editor", "Q.vst3", "--demo", "4", "--snapshot", "e.png", "--set", "Ratio=4"},
                               &cl, &error))
      << error;
  EXPECT_EQ(cl.command, CommandLine::Command::Editor);
  EXPECT_EQ(cl.snapshot, "e.png");
  EXPECT_DOUBLE_EQ(cl.demoSeconds, 4);

  ASSERT_TRUE(parseCommandLine({"info", "Q.vst3"}, &cl, &error));
  EXPECT_EQ(cl.command, CommandLine::Command::Info);
  ASSERT_TRUE(parseCommandLine({"--version"}, &cl, &error));
  EXPECT_EQ(cl.command, CommandLine::Command::Version);
}

TEST(CommandLine, RefusesMalformedInvocations) {
  EXPECT_NE(errorOf({}).find("no command"), std::string::npos);
  EXPECT_NE(errorOf({"frobnicate", "Q.vst3"}).find("unknown command"), std::string::npos);
  EXPECT_NE(
      errorOf({"process", "Q.vst3", "--demo", "1", "--out", "o.wav", "--set", "Ratio"}).find("Title=value"),
      std::string::npos);
  EXPECT_NE(errorOf({"info"}).find("no bundle"), std::string::npos);
  EXPECT_NE(errorOf({"info", "A.vst3", "B.vst3"}).find("unexpected argument"), std::string::npos);
  EXPECT_NE(errorOf({"info", "Q.vst3", "--out", "x.wav"}).find("process command only"), std::string::npos);
  EXPECT_NE(errorOf({"process", "Q.vst3", "--demo", "1"}).find("--out"), std::string::npos);
  EXPECT_NE(errorOf({"process", "Q.vst3", "--out", "o.wav"}).find("exactly one"), std::string::npos);
  EXPECT_NE(
      errorOf({"process", "Q.vst3", "--out", "o.wav", "--in", "i.wav", "--demo", "1"}).find("exactly one"),
      std::string::npos);
  EXPECT_NE(errorOf({"process", "Q.vst3", "--out", "o.wav", "--in", "i.wav", "--rate", "48000"})
                .find("--demo only"),
            std::string::npos);
  EXPECT_NE(errorOf({"process", "Q.vst3", "--out"}).find("needs a value"), std::string::npos);
  EXPECT_NE(errorOf({"process", "Q.vst3", "--out", ""}).find("needs a value"), std::string::npos);
  EXPECT_NE(errorOf({"process", "Q.vst3", "--bogus", "1"}).find("unknown option"), std::string::npos);
  EXPECT_NE(errorOf({"editor", "Q.vst3", "--out", "o.wav"}).find("process command only"), std::string::npos);
  EXPECT_NE(errorOf({"process", "Q.vst3", "--out", "o.wav", "--demo", "1", "--snapshot", "e.png"})
                .find("editor command only"),
            std::string::npos);
}

TEST(CommandLine, RefusesValuesOutsideTheirRange) {
  const std::vector<std::string> base = {"process", "Q.vst3", "--out", "o.wav"};
  const auto with = [&](std::vector<std::string> extra) {
    std::vector<std::string> a = base;
    a.insert(a.end(), extra.begin(), extra.end());
    return a;
  };
  for (const char* block : {"0", "-5", "65537", "12x", "", "1e3"})
    errorOf(with({"--demo", "1", "--block", block}));
  for (const char* precision : {"16", "48", "float", "032"})
    errorOf(with({"--demo", "1", "--precision", precision}));
  for (const char* rate : {"0", "-48000", "999", "44100.5", "abc", "2000000"})
    errorOf(with({"--demo", "1", "--rate", rate}));
  for (const char* secs : {"0", "-1", "nan", "inf", "3601", "1s"}) errorOf(with({"--demo", secs}));
  for (const char* format : {"float", "int8", "int32"}) errorOf(with({"--demo", "1", "--format", format}));

  CommandLine cl;
  std::string error;
  EXPECT_TRUE(parseCommandLine(with({"--demo", "3600", "--block", "65536", "--rate", "1000"}), &cl, &error))
      << error;
  EXPECT_TRUE(parseCommandLine(with({"--demo", "0.001", "--block", "1"}), &cl, &error)) << error;
}
