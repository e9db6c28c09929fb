// The quorvane-host program as a user runs it, against the small fake effect: outputs never
// overwrite an input, a failed run leaves no output behind, and command-line mistakes exit with 2.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/audio/WavFile.h"

using namespace qvhost;

namespace {

struct Outcome {
  int code = -1;
  std::string err;
};

std::string slurp(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

class HostCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = testing::TempDir() + "qvhost_cmd_" + std::to_string(::getpid()) + "_" +
          testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override {
    std::filesystem::remove_all(dir);
    std::filesystem::remove(dir.substr(0, dir.size() - 1) + ".stderr");
  }

  // Runs the host with stderr captured; fileLimit (in the shell's ulimit blocks) caps every file it
  // writes, as a full disk would: writes past it fail instead of killing the process.
  Outcome host(const std::vector<std::string>& args, int fileLimit = 0) {
    std::string cmd = "(trap '' XFSZ; ";
    if (fileLimit > 0) cmd += "ulimit -f " + std::to_string(fileLimit) + "; ";
    cmd += std::string("exec ") + QV_HOST_LAUNCHER + " '" + QV_HOST_EXE + "'";
    for (const auto& a : args) cmd += " '" + a + "'";
    const std::string err = dir.substr(0, dir.size() - 1) + ".stderr";  // beside the folder, unique
    cmd += ") >/dev/null 2>'" + err + "'";
    const int status = std::system(cmd.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(err)};
  }

  std::set<std::string> files() const {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.insert(e.path().filename());
    return names;
  }

  std::string wav(const std::string& name) {
    AudioData d;
    d.sampleRate = 48000;
    d.channels.assign(2, std::vector<double>(4800));
    for (auto& c : d.channels) {
      for (size_t i = 0; i < c.size(); ++i) c[i] = 0.3 * std::sin(0.01 * static_cast<double>(i));
    }
    std::string error;
    EXPECT_TRUE(writeAudioFile(dir + name, d, 32, &error)) << error;
    return dir + name;
  }

  std::string dir;
};

}  // namespace

TEST_F(HostCommand, AnOutputThatIsAlsoAnInputIsRefusedAndTheInputKept) {
  const std::string in = wav("in.wav"), sc = wav("sc.wav");
  const std::string state = dir + "state.qvhs";
  std::ofstream(state) << "not read before the check";
  ASSERT_EQ(::symlink(in.c_str(), (dir + "link.wav").c_str()), 0);
  ASSERT_EQ(::link(state.c_str(), (dir + "hard.wav").c_str()), 0);
  const std::string original = slurp(in);
  const std::vector<std::vector<std::string>> clashes = {
      {"--in", in, "--out", in},
      {"--in", in, "--out", dir + "link.wav"},
      {"--in", in, "--sidechain", sc, "--out", sc},
      {"--in", in, "--state-in", state, "--out", dir + "hard.wav"},
      {"--in", in, "--out", dir + "o.wav", "--state-in", state, "--state-out", state},
      {"--in", in, "--out", dir + "o.wav", "--state-out", dir + "./o.wav"},
  };
  for (const auto& clash : clashes) {
    std::vector<std::string> args = {"process", QV_FAKE_EFFECT};
    args.insert(args.end(), clash.begin(), clash.end());
    const Outcome r = host(args);
    EXPECT_EQ(r.code, 2) << r.err;
    EXPECT_NE(r.err.find("is the same file as"), std::string::npos) << r.err;
  }
  EXPECT_TRUE(slurp(in) == original) << "the input changed";
  EXPECT_EQ(slurp(sc).size(), original.size());
  EXPECT_EQ(files(), (std::set<std::string>{"in.wav", "sc.wav", "state.qvhs", "link.wav", "hard.wav"}));
}

TEST_F(HostCommand, AFailedRunLeavesNoOutputBehind) {
  // An unwritable state output is found before any audio is written.
  Outcome r = host({"process", QV_FAKE_EFFECT, "--demo", "1", "--out", dir + "out.wav", "--state-out",
                    dir + "missing/s.qvhs"});
  EXPECT_EQ(r.code, 1) << r.err;
  EXPECT_NE(r.err.find("missing/s.qvhs"), std::string::npos) << r.err;
  EXPECT_TRUE(files().empty());

  // A disk that fills up mid-render keeps the previous file as it was.
  std::ofstream(dir + "out.wav") << "previous take";
  r = host({"process", QV_FAKE_EFFECT, "--demo", "5", "--out", dir + "out.wav"}, 64);
  EXPECT_EQ(r.code, 1) << r.err;
  EXPECT_EQ(slurp(dir + "out.wav"), "previous take");
  EXPECT_EQ(files(), std::set<std::string>{"out.wav"});

  // A successful run replaces it.
  r = host(
      {"process", QV_FAKE_EFFECT, "--demo", "1", "--out", dir + "out.wav", "--state-out", dir + "s.qvhs"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(files(), (std::set<std::string>{"out.wav", "s.qvhs"}));
  EXPECT_GT(slurp(dir + "out.wav").size(), 48000u * 8);
}

TEST_F(HostCommand, CommandLineMistakesExitWithTwo) {
  const std::string in = wav("in.wav");
  Outcome r = host({});
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("usage:"), std::string::npos) << r.err;
  for (const char* set : {"Gain", "Nope=1", "Mode=0.7", "Gain=loud"}) {
    r = host({"process", QV_FAKE_EFFECT, "--in", in, "--out", dir + "o.wav", "--set", set});
    EXPECT_EQ(r.code, 2) << set << ": " << r.err;
  }
  EXPECT_EQ(host({"process", QV_FAKE_EFFECT, "--in", in, "--out", dir + "o.mp3"}).code, 2);
  EXPECT_EQ(host({"--version"}).code, 0);
  EXPECT_EQ(files(), std::set<std::string>{"in.wav"});
}
