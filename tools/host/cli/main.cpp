// quorvane-host: loads a VST 3 bundle like a DAW does, lists what it offers, renders audio files
// (or the built-in demo) through it, and opens its editor.
#if defined(_WIN32)
#include <windows.h>

#include <shellapi.h>

#include "base/WideText.h"
#endif
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/clap/ClapModule.h"
#include "host/cli/BenchCommand.h"
#include "host/cli/ClapCommands.h"
#include "host/cli/CommandLine.h"
#if QV_HOST_EDITOR
#include "host/cli/EditorCommand.h"
#endif
#include "host/audio/DemoSynth.h"
#include "host/audio/Render.h"
#include "host/audio/WavFile.h"
#include "host/cli/EffectLoader.h"
#include "host/cli/Failure.h"
#include "host/cli/InfoReport.h"
#include "host/cli/OutputPaths.h"
#include "host/cli/PendingFile.h"
#include "host/effect/StateFile.h"
#include "host/vst3/Module.h"
#include "host/vst3/ParameterSetting.h"
#include "host/vst3/PluginInstance.h"

using namespace qvhost;

namespace {

void warn(const std::string& message) { std::fprintf(stderr, "warning: %s\n", message.c_str()); }

std::string seconds(uint64_t frames, double rate) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f s", rate > 0 ? static_cast<double>(frames) / rate : 0.0);
  return buf;
}

std::string db(double v) {
  if (!std::isfinite(v)) return "-inf";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", v);
  return buf;
}

const ClassInfo* pickClass(const Module& module, const std::string& name, std::string* error) {
  const ClassInfo* cls = module.findAudioEffect(name);
  if (!cls) {
    *error = name.empty() ? "the module '" + module.libraryPath() + "' has no audio-effect class"
                          : "the module has no audio-effect class named \"" + name + "\"";
  }
  return cls;
}

int runInfo(const CommandLine& cl) {
  if (isClapPath(cl.bundle)) return runClapInfo(cl);
  std::string error;
  auto module = Module::load(cl.bundle, &error);
  if (!module) return fail(error);
  printModuleInfo(stdout, *module);
  const ClassInfo* cls = pickClass(*module, cl.className, &error);
  if (!cls) return fail(error);
  auto plugin = PluginInstance::create(*module, *cls, &error);
  if (!plugin) return fail(error);
  printInstanceInfo(stdout, *plugin);
  return 0;
}

class ProgressBar {
 public:
  explicit ProgressBar(bool enabled) : mEnabled(enabled) {}
  ~ProgressBar() { done(); }
  void update(double fraction) {
    if (!mEnabled) return;
    const int percent = static_cast<int>(fraction * 100.0);
    if (percent == mLast) return;
    mLast = percent;
    const int filled = percent * kWidth / 100;
    std::fprintf(stderr, "\r[%.*s%.*s] %3d%%", filled, kBar, kWidth - filled, kSpace, percent);
    std::fflush(stderr);
  }
  void done() {
    if (mEnabled && mLast >= 0) std::fprintf(stderr, "\n");
    mEnabled = false;
  }

 private:
  static constexpr int kWidth = 40;
  static constexpr const char* kBar = "########################################";
  static constexpr const char* kSpace = "                                        ";
  bool mEnabled;
  int mLast = -1;
};

int runProcess(const CommandLine& cl) {
  std::string error;
  if (!outputsAreDistinct({{"--out", cl.out}, {"--state-out", cl.stateOut}},
                          {{"--in", cl.in}, {"--sidechain", cl.sidechain}, {"--state-in", cl.stateIn}},
                          &error)) {
    return usageError(error);
  }
  std::unique_ptr<AudioSource> main;
  std::string mainDamage;
  if (cl.demo) {
    main = std::make_unique<DemoSynth>(cl.rate, cl.demoSeconds);
  } else {
    auto file = WavFileReader::open(cl.in, &error);
    if (!file) return fail(error);
    mainDamage = file->damage();
    main = std::move(file);
  }
  std::unique_ptr<AudioSource> sidechain;
  if (!cl.sidechain.empty()) {
    auto file = WavFileReader::open(cl.sidechain, &error);
    if (!file) return fail(error);
    if (!file->damage().empty()) warn("'" + cl.sidechain + "' is cut short: " + file->damage());
    sidechain = std::move(file);
    if (!sidechainRateMatches(*main, sidechain.get(), &error)) return fail(error);
  }
  if (!mainDamage.empty()) warn("'" + cl.in + "' is cut short: " + mainDamage + "; processing what is there");

  // Every output is created (under a temporary name) before any work, and appears only at the end.
  PendingFile::removeOnSignals();
  auto out = PendingFile::create(cl.out, &error);
  if (!out) return fail(error);
  std::unique_ptr<PendingFile> stateOut;
  if (!cl.stateOut.empty()) {
    stateOut = PendingFile::create(cl.stateOut, &error);
    if (!stateOut) return fail(error);
  }

  auto effect = loadEffect(cl.bundle, cl.className, &error);
  if (!effect) return fail(error);

  if (!cl.stateIn.empty()) {
    PluginState state;
    if (!readStateFile(cl.stateIn, &state, &error)) return fail(error);
    if (!effect->loadState(state, &error)) return fail("'" + cl.stateIn + "': " + error);
  }

  RenderOptions options;
  options.blockSize = cl.block;
  options.symbolicSampleSize = cl.precision == 64 ? vst3abi::kSample64 : vst3abi::kSample32;
  options.tempo = cl.demo ? DemoSynth::kTempo : 120.0;
  for (const std::string& arg : cl.sets) {
    EffectSetting setting;
    if (!effect->resolveSetting(arg, &setting, &error)) return usageError(error);
    options.parameterChanges.emplace_back(setting.id, setting.value);
    std::fprintf(stderr, "set \"%s\" (id %u) = %s\n", setting.title.c_str(), setting.id,
                 setting.display.c_str());
  }
  if (!sidechain) effect->warnAboutIdleSidechain();

  ProgressBar bar(::isatty(STDERR_FILENO) != 0);
  options.progress = [&bar](double f) { bar.update(f); };
  const std::string outPath = out->path();
  const AudioFileFormat format = cl.outFormat;
  RenderStats stats;
  const auto proc = effect->makeProcessor();
  const bool ok = render(
      *proc, *main, sidechain.get(),
      [&](int channels, double rate, std::string* err) -> std::unique_ptr<AudioSink> {
        return WavFileWriter::create(outPath, channels, rate, format, err);
      },
      options, &stats, &error);
  bar.done();
  if (!ok) return fail(out->explain(error));

  if (stateOut) {
    PluginState state;
    if (!effect->saveState(&state, &error) || !writeStateFile(stateOut->path(), state, &error)) {
      return fail(stateOut->explain(error));
    }
  }
  if (!out->commit(&error) || (stateOut && !stateOut->commit(&error))) return fail(error);

  if (main->totalFrames() > 0 && stats.inputFrames < static_cast<uint64_t>(main->totalFrames())) {
    warn("'" + cl.in + "' ended after " + seconds(stats.inputFrames, stats.sampleRate) +
         ", its header announces " + seconds(static_cast<uint64_t>(main->totalFrames()), stats.sampleRate));
  }
  if (sidechain && stats.sidechainFrames < stats.inputFrames) {
    warn("the sidechain ends after " + seconds(stats.sidechainFrames, stats.sampleRate) +
         ", the input after " + seconds(stats.inputFrames, stats.sampleRate) +
         "; the rest was keyed by silence");
  }
  if (format.integer() && stats.output.peakDb() > 0) {
    warn("the output peaks at +" + db(stats.output.peakDb()) + " dBFS: the " +
         sampleFormatName(format.sample) + " file is clipped at full scale");
  }
  if (stats.nonFiniteSamples > 0) {
    warn("the plug-in produced " + std::to_string(stats.nonFiniteSamples) +
         " non-finite samples; they were written as silence");
  }
  std::printf(
      "in: RMS %s dBFS, peak %s dBFS | out: RMS %s dBFS, peak %s dBFS | %.2f s of audio in %.2f s (%.1fx "
      "real time)\n",
      db(stats.input.rmsDb()).c_str(), db(stats.input.peakDb()).c_str(), db(stats.output.rmsDb()).c_str(),
      db(stats.output.peakDb()).c_str(), stats.audioSeconds(), stats.wallSeconds, stats.realtimeFactor());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
  // The narrow arguments are in the user's code page, which cannot hold every file name: the
  // command line is read again as UTF-16 and passed on as UTF-8, like every path here.
  (void)argc;
  (void)argv;
  std::vector<std::string> args;
  int wideCount = 0;
  if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &wideCount)) {
    for (int i = 1; i < wideCount; ++i) args.push_back(WideToUtf8(wide[i]));
    LocalFree(wide);
  }
#else
  std::vector<std::string> args(argv + 1, argv + argc);
#endif
  if (!args.empty() && args[0] == "bench") return runBenchCommand({args.begin() + 1, args.end()});
  CommandLine cl;
  std::string error;
  if (!parseCommandLine(args, &cl, &error)) {
    if (args.empty()) {
      std::fprintf(stderr, "%s", usageText().c_str());
    } else {
      std::fprintf(stderr, "quorvane-host: %s (see quorvane-host --help)\n", error.c_str());
    }
    return 2;
  }
  switch (cl.command) {
    case CommandLine::Command::Help:
      std::printf("%s", usageText().c_str());
      return 0;
    case CommandLine::Command::Version:
      std::printf("quorvane-host %s\n", QV_VERSION);
      return 0;
    case CommandLine::Command::Info:
      return runInfo(cl);
    case CommandLine::Command::Process:
      return runProcess(cl);
    case CommandLine::Command::Editor:
#if QV_HOST_EDITOR
      return runEditor(cl);
#else
      return fail("this build of the host has no editor support");
#endif
  }
  return 2;
}
