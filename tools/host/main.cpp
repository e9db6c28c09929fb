// quorvane-host: loads a VST 3 bundle like a DAW does, lists what it offers, renders audio files
// (or the built-in demo) through it, and opens its editor.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "CommandLine.h"
#if QV_HOST_EDITOR
#include "EditorCommand.h"
#endif
#include "DemoSynth.h"
#include "InfoReport.h"
#include "Module.h"
#include "ParameterSetting.h"
#include "PluginInstance.h"
#include "Render.h"
#include "StateFile.h"
#include "WavFile.h"

using namespace qvhost;

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "quorvane-host: %s\n", message.c_str());
    return 1;
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
    std::unique_ptr<AudioSource> main;
    if (cl.demo) {
        main = std::make_unique<DemoSynth>(cl.rate, cl.demoSeconds);
    } else {
        main = WavFileReader::open(cl.in, &error);
        if (!main) return fail(error);
    }
    std::unique_ptr<AudioSource> sidechain;
    if (!cl.sidechain.empty()) {
        sidechain = WavFileReader::open(cl.sidechain, &error);
        if (!sidechain) return fail(error);
        if (!sidechainRateMatches(*main, sidechain.get(), &error)) return fail(error);
    }

    auto module = Module::load(cl.bundle, &error);
    if (!module) return fail(error);
    const ClassInfo* cls = pickClass(*module, cl.className, &error);
    if (!cls) return fail(error);
    auto plugin = PluginInstance::create(*module, *cls, &error);
    if (!plugin) return fail(error);

    if (!cl.stateIn.empty()) {
        PluginState state;
        if (!readStateFile(cl.stateIn, &state, &error)) return fail(error);
        if (state.classId != cls->cid) {
            return fail("'" + cl.stateIn + "' holds the state of another plug-in (class " +
                        uidText(state.classId.data()) + ")");
        }
        if (!plugin->loadState(state.component, state.controller, &error)) return fail(error);
    }

    RenderOptions options;
    options.blockSize = cl.block;
    options.symbolicSampleSize = cl.precision == 64 ? vst3abi::kSample64 : vst3abi::kSample32;
    options.tempo = cl.demo ? DemoSynth::kTempo : 120.0;
    const auto params = plugin->parameters();
    for (const std::string& arg : cl.sets) {
        ParameterSetting setting;
        ResolvedSetting resolved;
        if (!splitSetting(arg, &setting, &error) || !resolveSetting(*plugin, params, setting, &resolved, &error)) {
            return fail(error);
        }
        // The controller shows the value too, as it would for a DAW's automation lane.
        plugin->controller()->setParamNormalized(resolved.id, resolved.normalized);
        options.parameterChanges.emplace_back(resolved.id, resolved.normalized);
        std::fprintf(stderr, "set \"%s\" (id %u) = %s\n", resolved.title.c_str(), resolved.id,
                     resolved.display.empty() ? setting.value.c_str() : resolved.display.c_str());
    }

    ProgressBar bar(::isatty(STDERR_FILENO) != 0);
    options.progress = [&bar](double f) { bar.update(f); };
    const int bits = cl.precision;
    const std::string outPath = cl.out;
    RenderStats stats;
    const bool ok = render(
        *plugin, *main, sidechain.get(),
        [&](int channels, double rate, std::string* err) -> std::unique_ptr<AudioSink> {
            return WavFileWriter::create(outPath, channels, rate, bits, err);
        },
        options, &stats, &error);
    bar.done();
    if (!ok) return fail(error);

    if (!cl.stateOut.empty()) {
        PluginState state;
        state.classId = cls->cid;
        if (!plugin->saveState(&state.component, &state.controller, &error) ||
            !writeStateFile(cl.stateOut, state, &error)) {
            return fail(error);
        }
    }
    if (stats.nonFiniteSamples > 0) {
        std::fprintf(stderr, "warning: the plug-in produced %llu non-finite samples; they were written as silence\n",
                     static_cast<unsigned long long>(stats.nonFiniteSamples));
    }
    std::printf("in: RMS %s dBFS, peak %s dBFS | out: RMS %s dBFS, peak %s dBFS | %.2f s of audio in %.2f s (%.1fx real time)\n",
                db(stats.input.rmsDb()).c_str(), db(stats.input.peakDb()).c_str(), db(stats.output.rmsDb()).c_str(),
                db(stats.output.peakDb()).c_str(), stats.audioSeconds(), stats.wallSeconds, stats.realtimeFactor());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    CommandLine cl;
    std::string error;
    if (!parseCommandLine(args, &cl, &error)) {
        std::fprintf(stderr, "quorvane-host: %s (see quorvane-host --help)\n", error.c_str());
        return 2;
    }
    switch (cl.command) {
        case CommandLine::Command::Help: std::printf("%s", usageText().c_str()); return 0;
        case CommandLine::Command::Info: return runInfo(cl);
        case CommandLine::Command::Process: return runProcess(cl);
        case CommandLine::Command::Editor:
#if QV_HOST_EDITOR
            return runEditor(cl);
#else
            return fail("this build of the host has no editor support");
#endif
    }
    return 2;
}
