// The host's command line.
#include "host/cli/CommandLine.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "host/vst3/ParameterSetting.h"

namespace qvhost {

namespace {

bool parseInt(const std::string& s, long lo, long hi, long* out) {
  if (s.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long v = std::strtol(s.c_str(), &end, 10);
  if (*end != 0 || errno == ERANGE || v < lo || v > hi) return false;
  *out = v;
  return true;
}

bool parseSeconds(const std::string& s, double* out) {
  if (s.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  if (*end != 0 || errno == ERANGE || !std::isfinite(v) || v <= 0 || v > 3600) return false;
  *out = v;
  return true;
}

}  // namespace

std::string usageText() {
  return "usage:\n"
         "  quorvane-host info BUNDLE [--class NAME]\n"
         "  quorvane-host process BUNDLE --out OUT.wav (--in IN.wav | --demo SECONDS)\n"
         "                [--sidechain SC.wav] [--set \"Title=value\"]... [--block N]\n"
         "                [--precision 32|64] [--format float32|float64|int24|int16] [--rate HZ]\n"
         "                [--state-in FILE] [--state-out FILE] [--class NAME]\n"
         "  quorvane-host editor BUNDLE [--set \"Title=value\"]... [--demo SECONDS]\n"
         "                [--snapshot OUT.png] [--scale S] [--block N] [--rate HZ] [--class NAME]\n"
         "  quorvane-host --help | --version\n"
         "BUNDLE is a NAME.vst3 folder or the module's .so file, or a CLAP plug-in (NAME.clap).\n"
         "--set takes the value as the parameter displays it; name the parameter by title or id.\n"
         "  A stepped parameter takes one of its steps only (see info).\n"
         "--block: frames per block, default 512. --precision: the plug-in's sample size, default 32.\n"
         "--rate applies to --demo (default 48000); with --in the file's rate is used.\n"
         "--out: .wav, .flac or .aiff; --format defaults to float32 (float64 with --precision 64),\n"
         "  int24 for .flac. Outputs appear only when the run succeeds and never overwrite an input.\n"
         "Input files may have as many channels as the plug-in's input bus; mono is copied to each.\n"
         "editor opens the plug-in's editor in an X11 window until it is closed; --demo plays the\n"
         "demo loop of that length through it in real time, over and over. --scale hands the view\n"
         "a content scale factor (as hosts on scaled screens do) before asking for its size.\n"
         "Exit codes: 0 done, 1 failed, 2 a mistake on the command line.\n";
}

bool parseCommandLine(const std::vector<std::string>& args, CommandLine* out, std::string* error) {
  CommandLine cl;
  const auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  if (args.empty()) return fail("no command given");
  if (args[0] == "-h" || args[0] == "--help" || args[0] == "help" || args[0] == "--version") {
    if (args.size() > 1) return fail("unexpected argument \"" + args[1] + "\"");
    cl.command = args[0] == "--version" ? CommandLine::Command::Version : CommandLine::Command::Help;
    *out = cl;
    return true;
  }
  if (args[0] == "info") {
    cl.command = CommandLine::Command::Info;
  } else if (args[0] == "process") {
    cl.command = CommandLine::Command::Process;
  } else if (args[0] == "editor") {
    cl.command = CommandLine::Command::Editor;
  } else {
    return fail("unknown command \"" + args[0] + "\" (expected info, process or editor)");
  }

  SampleFormat sampleFormat = SampleFormat::Float32;
  bool formatGiven = false;
  for (size_t i = 1; i < args.size(); ++i) {
    std::string opt = args[i];
    std::string value;
    bool hasInlineValue = false;
    if (opt.rfind("--", 0) == 0) {
      const size_t eq = opt.find('=');
      if (eq != std::string::npos) {
        value = opt.substr(eq + 1);
        opt = opt.substr(0, eq);
        hasInlineValue = true;
      }
    } else {
      if (!cl.bundle.empty()) return fail("unexpected argument \"" + opt + "\"");
      cl.bundle = opt;
      continue;
    }
    const auto takeValue = [&]() -> bool {
      if (hasInlineValue) return true;
      if (i + 1 >= args.size()) return false;
      value = args[++i];
      return true;
    };
    const bool known = opt == "--out" || opt == "--in" || opt == "--demo" || opt == "--sidechain" ||
                       opt == "--set" || opt == "--block" || opt == "--precision" || opt == "--rate" ||
                       opt == "--state-in" || opt == "--state-out" || opt == "--class" ||
                       opt == "--snapshot" || opt == "--format" || opt == "--scale";
    if (!known) return fail("unknown option \"" + opt + "\"");
    if (!takeValue()) return fail(opt + " needs a value");
    const bool forEditor = opt == "--set" || opt == "--demo" || opt == "--snapshot" || opt == "--block" ||
                           opt == "--rate" || opt == "--class" || opt == "--scale";
    const bool forProcess = opt != "--snapshot" && opt != "--scale";
    const bool applies = opt == "--class" || (cl.command == CommandLine::Command::Process && forProcess) ||
                         (cl.command == CommandLine::Command::Editor && forEditor);
    if (!applies) {
      return fail(opt + (!forProcess ? " applies to the editor command only"
                         : forEditor ? " applies to the process and editor commands only"
                                     : " applies to the process command only"));
    }
    long n = 0;
    if (opt == "--out") {
      cl.out = value;
    } else if (opt == "--in") {
      cl.in = value;
    } else if (opt == "--demo") {
      if (!parseSeconds(value, &cl.demoSeconds))
        return fail("--demo expects a duration in seconds (0 < s <= 3600)");
      cl.demo = true;
    } else if (opt == "--sidechain") {
      cl.sidechain = value;
    } else if (opt == "--set") {
      ParameterSetting setting;
      std::string why;
      if (!splitSetting(value, &setting, &why)) return fail(why);
      cl.sets.push_back(value);
    } else if (opt == "--block") {
      if (!parseInt(value, 1, 65536, &n)) return fail("--block expects a block size from 1 to 65536");
      cl.block = static_cast<int>(n);
    } else if (opt == "--precision") {
      if (value != "32" && value != "64") return fail("--precision expects 32 or 64");
      cl.precision = value == "64" ? 64 : 32;
    } else if (opt == "--rate") {
      if (!parseInt(value, 1000, 1536000, &n))
        return fail("--rate expects a sample rate in Hz from 1000 to 1536000");
      cl.rate = static_cast<double>(n);
      cl.rateGiven = true;
    } else if (opt == "--state-in") {
      cl.stateIn = value;
    } else if (opt == "--state-out") {
      cl.stateOut = value;
    } else if (opt == "--class") {
      cl.className = value;
    } else if (opt == "--snapshot") {
      cl.snapshot = value;
    } else if (opt == "--scale") {
      char* end = nullptr;
      cl.scale = std::strtod(value.c_str(), &end);
      if (!end || *end || !(cl.scale >= 0.25 && cl.scale <= 8))
        return fail("--scale expects a factor from 0.25 to 8");
    } else if (opt == "--format") {
      if (!parseSampleFormat(value, &sampleFormat))
        return fail("--format expects float32, float64, int24 or int16");
      formatGiven = true;
    }
    if (value.empty()) return fail(opt + " needs a value");
  }

  if (cl.bundle.empty()) return fail("no bundle given");
  if (cl.command == CommandLine::Command::Process) {
    if (cl.out.empty()) return fail("process needs --out OUT.wav");
    if (cl.in.empty() == !cl.demo) return fail("process needs exactly one of --in IN.wav and --demo SECONDS");
    if (cl.rateGiven && !cl.demo) return fail("--rate applies to --demo only; the input file's rate is used");
    std::string why;
    if (!outputFormatFor(cl.out, formatGiven ? &sampleFormat : nullptr, cl.precision, &cl.outFormat, &why)) {
      return fail(why);
    }
  }
  *out = cl;
  return true;
}

}  // namespace qvhost
