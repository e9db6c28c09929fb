// The bench command: arguments, the measured runs and the report.
#include "BenchCommand.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "BlockProcessor.h"
#include "DemoSynth.h"
#include "Module.h"
#include "ParameterSetting.h"
#include "PluginInstance.h"

namespace qvhost {

namespace {

const char* const kUsage =
    "usage: quorvane-host bench BUNDLE [--seconds S] [--rate R] [--block N] [--precision 32|64]\n"
    "                           [--set \"Title=value\"]... [--repeat K] [--sidechain] [--class NAME]\n";

bool number(const std::string& text, double* out) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(v > 0) || v > 1e9) return false;
  *out = v;
  return true;
}

bool whole(const std::string& text, int lo, int hi, int* out) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < lo || v > hi) return false;
  *out = static_cast<int>(v);
  return true;
}

// The demo loop, whole, in memory: synthesis stays out of the measurement.
std::vector<std::vector<double>> synthesize(double rate, double seconds) {
  DemoSynth demo(rate, seconds);
  std::vector<std::vector<double>> audio(2, std::vector<double>(static_cast<size_t>(demo.totalFrames())));
  double* dest[2] = {audio[0].data(), audio[1].data()};
  size_t done = 0;
  while (done < audio[0].size()) {
    double* at[2] = {dest[0] + done, dest[1] + done};
    const size_t got = demo.read(at, audio[0].size() - done);
    if (got == 0) break;
    done += got;
  }
  for (auto& ch : audio) ch.resize(done);
  return audio;
}

}  // namespace

double BenchResult::median() const {
  if (realtime.empty()) return 0;
  std::vector<double> v = realtime;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

double BenchResult::slowest() const {
  return realtime.empty() ? 0 : *std::min_element(realtime.begin(), realtime.end());
}

bool parseBenchArgs(const std::vector<std::string>& args, BenchOptions* out, std::string* error) {
  BenchOptions o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.rfind("--", 0) != 0) {
      if (!o.bundle.empty()) {
        *error = "bench takes one bundle, got '" + o.bundle + "' and '" + a + "'";
        return false;
      }
      o.bundle = a;
      continue;
    }
    if (a == "--sidechain") {
      o.sidechain = true;
      continue;
    }
    if (i + 1 >= args.size()) {
      *error = a + " needs a value";
      return false;
    }
    const std::string& v = args[++i];
    bool ok = true;
    if (a == "--seconds")
      ok = number(v, &o.seconds);
    else if (a == "--rate")
      ok = number(v, &o.rate);
    else if (a == "--block")
      ok = whole(v, 1, 65536, &o.block);
    else if (a == "--precision")
      ok = (v == "32" || v == "64") && whole(v, 32, 64, &o.precision);
    else if (a == "--repeat")
      ok = whole(v, 1, 1000, &o.repeat);
    else if (a == "--set")
      o.sets.push_back(v);
    else if (a == "--class")
      o.className = v;
    else {
      *error = "bench has no option " + a;
      return false;
    }
    if (!ok) {
      *error = "bad value for " + a + ": '" + v + "'";
      return false;
    }
  }
  if (o.bundle.empty()) {
    *error = "bench needs a bundle";
    return false;
  }
  if (o.seconds * o.rate < 1) {
    *error = "--seconds and --rate leave no audio to process";
    return false;
  }
  *out = o;
  return true;
}

bool runBench(const BenchOptions& o, BenchResult* result, std::string* error) {
  auto module = Module::load(o.bundle, error);
  if (!module) return false;
  const ClassInfo* cls = module->findAudioEffect(o.className);
  if (!cls) {
    *error = o.className.empty() ? "the module has no audio-effect class"
                                 : "the module has no audio-effect class named \"" + o.className + "\"";
    return false;
  }
  auto plugin = PluginInstance::create(*module, *cls, error);
  if (!plugin) return false;

  const auto params = plugin->parameters();
  std::vector<ResolvedSetting> settings;
  for (const std::string& arg : o.sets) {
    ParameterSetting setting;
    ResolvedSetting resolved;
    if (!splitSetting(arg, &setting, error) || !resolveSetting(*plugin, params, setting, &resolved, error)) {
      return false;
    }
    plugin->controller()->setParamNormalized(resolved.id, resolved.normalized);
    settings.push_back(resolved);
  }

  const auto audio = synthesize(o.rate, o.seconds);
  const size_t frames = audio[0].size();
  ProcessConfig config;
  config.sampleRate = o.rate;
  config.maxBlock = o.block;
  config.symbolicSampleSize = o.precision == 64 ? vst3abi::kSample64 : vst3abi::kSample32;
  config.sidechain = o.sidechain;
  config.tempo = DemoSynth::kTempo;

  std::vector<std::vector<double>> outBuf;
  result->className = cls->name;
  result->realtime.clear();
  for (int run = 0; run <= o.repeat; ++run) {
    BlockProcessor proc(*plugin);
    if (!proc.start(config, error)) return false;
    if (o.sidechain && proc.sidechainChannels() == 0) {
      *error = "the plug-in has no sidechain input to feed";
      return false;
    }
    for (const auto& s : settings) proc.queueParameter(s.id, s.normalized);
    outBuf.assign(static_cast<size_t>(std::max(proc.outputChannels(), 1)), std::vector<double>(o.block));
    std::vector<double*> out;
    for (auto& ch : outBuf) out.push_back(ch.data());
    // The bus takes the loop's two channels, spread or cut to its width.
    std::vector<const double*> in(static_cast<size_t>(std::max(proc.mainInputChannels(), 1)));
    std::vector<const double*> side(static_cast<size_t>(std::max(proc.sidechainChannels(), 1)));
    for (size_t pos = 0; pos < frames; pos += static_cast<size_t>(o.block)) {
      const auto n = static_cast<vst3abi::int32>(std::min(frames - pos, static_cast<size_t>(o.block)));
      for (size_t c = 0; c < in.size(); ++c) in[c] = audio[c % 2].data() + pos;
      for (size_t c = 0; c < side.size(); ++c) side[c] = audio[c % 2].data() + pos;
      if (!proc.process(in.data(), o.sidechain ? side.data() : nullptr, out.data(), n, error)) return false;
    }
    const double inside = proc.processSeconds();
    proc.stop();
    if (run == 0) continue;  // warm-up
    result->realtime.push_back(inside > 0 ? static_cast<double>(frames) / o.rate / inside : 0);
  }
  return true;
}

int runBenchCommand(const std::vector<std::string>& args) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::printf("%s", kUsage);
    return 0;
  }
  BenchOptions options;
  std::string error;
  if (!parseBenchArgs(args, &options, &error)) {
    std::fprintf(stderr, "quorvane-host: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  BenchResult result;
  if (!runBench(options, &result, &error)) {
    std::fprintf(stderr, "quorvane-host: %s\n", error.c_str());
    return 1;
  }
  const double median = result.median(), slowest = result.slowest();
  auto core = [](double x) { return x > 0 ? 100.0 / x : 0.0; };
  std::printf(
      "%s: %.2f s at %.0f Hz, %d-frame blocks, %d-bit%s, %d runs inside process: "
      "median %.1fx real time (%.3f %% of one core), slowest %.1fx (%.3f %%)\n",
      result.className.c_str(), options.seconds, options.rate, options.block, options.precision,
      options.sidechain ? ", sidechain fed" : "", options.repeat, median, core(median), slowest,
      core(slowest));
  return 0;
}

}  // namespace qvhost
