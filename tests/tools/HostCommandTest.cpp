// The quorvane-host program as a user runs it, against the small fake effect: outputs never
// overwrite an input, a failed run leaves no output behind, and command-line mistakes exit with 2.
#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "WavFile.h"

using namespace qvhost;

namespace {

struct Outcome {
    int code = -1;
    std::string err;
};

// Runs the host with its stderr captured; fileLimit caps the size of any file it writes, as a
// full disk would.
Outcome host(const std::vector<std::string>& args, rlim_t fileLimit = RLIM_INFINITY) {
    const std::string errPath = testing::TempDir() + "qvhost_cmd_err_" + std::to_string(::getpid());
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(err, 2);
        ::dup2(null, 1);
        if (fileLimit != RLIM_INFINITY) {
            const rlimit limit{fileLimit, fileLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::signal(SIGXFSZ, SIG_IGN);  // writes past the limit fail instead of killing the process
        }
        std::vector<char*> argv{const_cast<char*>(QV_HOST_EXE)};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(QV_HOST_EXE, argv.data());
        ::_exit(127);
    }
    Outcome r;
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream f(errPath);
    std::stringstream ss;
    ss << f.rdbuf();
    r.err = ss.str();
    ::unlink(errPath.c_str());
    return r;
}

std::string slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

std::set<std::string> listDir(const std::string& dir) {
    std::set<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (dirent* e = ::readdir(d)) {
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.insert(e->d_name);
        }
        ::closedir(d);
    }
    return names;
}

class HostCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir = testing::TempDir() + "qvhost_cmd_" + std::to_string(::getpid()) + "_" +
              testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
        ASSERT_EQ(std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str()), 0);
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    std::string wav(const std::string& name, int channels = 2) {
        AudioData d;
        d.sampleRate = 48000;
        d.channels.assign(static_cast<size_t>(channels), std::vector<double>(4800));
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
    EXPECT_EQ(listDir(dir), (std::set<std::string>{"in.wav", "sc.wav", "state.qvhs", "link.wav", "hard.wav"}));
}

TEST_F(HostCommand, AFailedRunLeavesNoOutputBehind) {
    // An unwritable state output is found before any audio is written.
    Outcome r = host({"process", QV_FAKE_EFFECT, "--demo", "1", "--out", dir + "out.wav", "--state-out",
                  dir + "missing/s.qvhs"});
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_NE(r.err.find("missing/s.qvhs"), std::string::npos) << r.err;
    EXPECT_TRUE(listDir(dir).empty());

    // A disk that fills up mid-render keeps the previous file as it was.
    std::ofstream(dir + "out.wav") << "previous take";
    r = host({"process", QV_FAKE_EFFECT, "--demo", "5", "--out", dir + "out.wav"}, 64 * 1024);
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_EQ(slurp(dir + "out.wav"), "previous take");
    EXPECT_EQ(listDir(dir), std::set<std::string>{"out.wav"});

    // A successful run replaces it.
    r = host({"process", QV_FAKE_EFFECT, "--demo", "1", "--out", dir + "out.wav", "--state-out", dir + "s.qvhs"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(listDir(dir), (std::set<std::string>{"out.wav", "s.qvhs"}));
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
    EXPECT_EQ(listDir(dir), std::set<std::string>{"in.wav"});
}
