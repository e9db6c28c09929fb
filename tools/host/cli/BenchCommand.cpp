// The bench command: arguments, the measured runs and the report.
#include "host/cli/BenchCommand.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "host/audio/DemoSynth.h"
#include "host/cli/EffectLoader.h"
#include "host/cli/Failure.h"
#include "host/vst3/BlockProcessor.h"

namespace qvhost {

namespace {

const char* const kUsage =
    "usage: quorvane-host bench BUNDLE [--set \"Title=value\"]... [--sidechain] [--class NAME]\n"
    "                           [BUNDLE [--set ...]...]... [--seconds S] [--rate R] [--block N]\n"
    "                           [--precision 32|64] [--repeat K]\n";

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

double medianOf(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

}  // namespace

double BenchResult::median() const { return medianOf(realtime); }

double BenchResult::slowest() const {
  return realtime.empty() ? 0 : *std::min_element(realtime.begin(), realtime.end());
}

bool parseBenchArgs(const std::vector<std::string>& args, std::vector<BenchOptions>* out,
                    std::string* error) {
  BenchOptions shared;  // the options for all, and the per-bundle ones given before any bundle
  std::vector<BenchOptions> entries;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    BenchOptions& own = entries.empty() ? shared : entries.back();
    if (a.rfind("--", 0) != 0) {
      entries.push_back(shared);
      entries.back().bundle = a;
      continue;
    }
    if (a == "--sidechain") {
      own.sidechain = true;
      continue;
    }
    if (i + 1 >= args.size()) {
      *error = a + " needs a value";
      return false;
    }
    const std::string& v = args[++i];
    bool ok = true;
    if (a == "--seconds")
      ok = number(v, &shared.seconds);
    else if (a == "--rate")
      ok = number(v, &shared.rate);
    else if (a == "--block")
      ok = whole(v, 1, 65536, &shared.block);
    else if (a == "--precision")
      ok = (v == "32" || v == "64") && whole(v, 32, 64, &shared.precision);
    else if (a == "--repeat")
      ok = whole(v, 1, 1000, &shared.repeat);
    else if (a == "--set")
      own.sets.push_back(v);
    else if (a == "--class")
      own.className = v;
    else {
      *error = "bench has no option " + a;
      return false;
    }
    if (!ok) {
      *error = "bad value for " + a + ": '" + v + "'";
      return false;
    }
  }
  if (entries.empty()) {
    *error = "bench needs a bundle";
    return false;
  }
  if (shared.seconds * shared.rate < 1) {
    *error = "--seconds and --rate leave no audio to process";
    return false;
  }
  for (BenchOptions& e : entries) {
    e.seconds = shared.seconds;
    e.rate = shared.rate;
    e.block = shared.block;
    e.precision = shared.precision;
    e.repeat = shared.repeat;
  }
  *out = entries;
  return true;
}

namespace {

// One entry, loaded and set up once; each call of run() is one pass over the loop.
class BenchEntry {
 public:
  bool prepare(const BenchOptions& o, std::string* error) {
    mOptions = o;
    mEffect = loadEffect(o.bundle, o.className, error);
    if (!mEffect) return false;
    for (const std::string& arg : o.sets) {
      EffectSetting setting;
      if (!mEffect->resolveSetting(arg, &setting, error)) return false;
      mSettings.push_back(setting);
    }
    return true;
  }

  std::string className() const { return mEffect->name(); }

  // Audio seconds per second inside process, or a negative value on failure.
  double run(const std::vector<std::vector<double>>& audio, std::string* error) {
    const BenchOptions& o = mOptions;
    const size_t frames = audio[0].size();
    ProcessConfig config;
    config.sampleRate = o.rate;
    config.maxBlock = o.block;
    config.symbolicSampleSize = o.precision == 64 ? vst3abi::kSample64 : vst3abi::kSample32;
    config.sidechain = o.sidechain;
    config.tempo = DemoSynth::kTempo;

    const auto processor = mEffect->makeProcessor();
    EffectProcessor& proc = *processor;
    if (!proc.start(config, error)) return -1;
    if (o.sidechain && proc.sidechainChannels() == 0) {
      *error = "the plug-in has no sidechain input to feed";
      return -1;
    }
    for (const auto& s : mSettings) proc.queueParameter(s.id, s.value);
    mOut.assign(static_cast<size_t>(std::max(proc.outputChannels(), 1)), std::vector<double>(o.block));
    std::vector<double*> out;
    for (auto& ch : mOut) out.push_back(ch.data());
    // The bus takes the loop's two channels, spread or cut to its width.
    std::vector<const double*> in(static_cast<size_t>(std::max(proc.mainInputChannels(), 1)));
    std::vector<const double*> side(static_cast<size_t>(std::max(proc.sidechainChannels(), 1)));
    for (size_t pos = 0; pos < frames; pos += static_cast<size_t>(o.block)) {
      const auto n = static_cast<vst3abi::int32>(std::min(frames - pos, static_cast<size_t>(o.block)));
      for (size_t c = 0; c < in.size(); ++c) in[c] = audio[c % 2].data() + pos;
      for (size_t c = 0; c < side.size(); ++c) side[c] = audio[c % 2].data() + pos;
      if (!proc.process(in.data(), o.sidechain ? side.data() : nullptr, out.data(), n, error)) return -1;
    }
    const double inside = proc.processSeconds();
    proc.stop();
    return inside > 0 ? static_cast<double>(frames) / o.rate / inside : 0;
  }

 private:
  BenchOptions mOptions;
  std::unique_ptr<LoadedEffect> mEffect;
  std::vector<EffectSetting> mSettings;
  std::vector<std::vector<double>> mOut;
};

}  // namespace

bool runBenchInterleaved(const std::vector<BenchOptions>& entries, std::vector<BenchResult>* results,
                         std::string* error) {
  if (entries.empty()) {
    *error = "bench needs a bundle";
    return false;
  }
  // Each entry has an instance of its own (a bundle named twice is loaded twice, as a DAW loads
  // one plug-in on two tracks).
  std::vector<std::unique_ptr<BenchEntry>> benches;
  for (const BenchOptions& o : entries) {
    benches.push_back(std::make_unique<BenchEntry>());
    if (!benches.back()->prepare(o, error)) {
      if (entries.size() > 1) *error = o.bundle + ": " + *error;
      return false;
    }
  }
  const BenchOptions& first = entries.front();
  const auto audio = synthesize(first.rate, first.seconds);
  results->assign(entries.size(), BenchResult());
  for (size_t k = 0; k < entries.size(); ++k) (*results)[k].className = benches[k]->className();
  for (int run = 0; run <= first.repeat; ++run) {
    for (size_t k = 0; k < entries.size(); ++k) {
      const double x = benches[k]->run(audio, error);
      if (x < 0) {
        if (entries.size() > 1) *error = entries[k].bundle + ": " + *error;
        return false;
      }
      if (run > 0) (*results)[k].realtime.push_back(x);  // run 0 warms up
    }
  }
  return true;
}

bool runBench(const BenchOptions& options, BenchResult* result, std::string* error) {
  std::vector<BenchResult> results;
  if (!runBenchInterleaved({options}, &results, error)) return false;
  *result = results.front();
  return true;
}

std::vector<double> pairedRatios(const std::vector<BenchResult>& results) {
  std::vector<double> ratios;
  for (const BenchResult& r : results) {
    std::vector<double> each;
    for (size_t i = 0; i < r.realtime.size() && i < results.front().realtime.size(); ++i) {
      const double base = results.front().realtime[i];
      if (base > 0) each.push_back(r.realtime[i] / base);
    }
    ratios.push_back(medianOf(each));
  }
  return ratios;
}

int runBenchCommand(const std::vector<std::string>& args) {
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::printf("%s", kUsage);
    return 0;
  }
  std::vector<BenchOptions> entries;
  std::string error;
  if (!parseBenchArgs(args, &entries, &error)) {
    std::fprintf(stderr, "quorvane-host: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  std::vector<BenchResult> results;
  if (!runBenchInterleaved(entries, &results, &error)) return fail(error);
  const BenchOptions& options = entries.front();
  auto core = [](double x) { return x > 0 ? 100.0 / x : 0.0; };
  const std::vector<double> ratios = pairedRatios(results);
  for (size_t k = 0; k < results.size(); ++k) {
    const BenchResult& result = results[k];
    const double median = result.median(), slowest = result.slowest();
    std::printf(
        "%s: %.2f s at %.0f Hz, %d-frame blocks, %d-bit%s, %d runs inside process: "
        "median %.1fx real time (%.3f %% of one core), slowest %.1fx (%.3f %%)",
        result.className.c_str(), options.seconds, options.rate, options.block, options.precision,
        entries[k].sidechain ? ", sidechain fed" : "", options.repeat, median, core(median), slowest,
        core(slowest));
    if (results.size() > 1) std::printf("; %.3f of the first, run by run", ratios[k]);
    std::printf("\n");
  }
  return 0;
}

}  // namespace qvhost
