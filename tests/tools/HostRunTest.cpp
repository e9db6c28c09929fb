// The host library end to end against a small effect module built from our declarations: module
// loading and class choice, the order of lifecycle calls in and out, parameter resolution from
// user text, rendering with latency compensation and sidechain routing, and state round trips.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "host/audio/Render.h"
#include "host/cli/InfoReport.h"
#include "host/vst3/Module.h"
#include "host/vst3/ParameterSetting.h"
#include "host/vst3/PluginInstance.h"
#include "vst3/abi/ResultCodes.h"

using namespace qvhost;

namespace {

constexpr vst3abi::ParamID kGain = 0, kMode = 5, kMeter = 6, kEngage = 11, kHostBypass = 0x62706173;

// Keeps the module mapped across Module lifetimes so its call log can be read after unloading.
struct FakeHooks {
  void* handle = ::dlopen(QV_FAKE_EFFECT, RTLD_NOW | RTLD_LOCAL);
  const char* (*log)() = handle ? reinterpret_cast<const char* (*)()>(::dlsym(handle, "FakeEffectLog"))
                                : nullptr;
  void (*reset)() = handle ? reinterpret_cast<void (*)()>(::dlsym(handle, "FakeEffectResetLog")) : nullptr;
  ~FakeHooks() {
    if (handle) ::dlclose(handle);
  }
};

struct Loaded {
  std::unique_ptr<Module> module;
  std::unique_ptr<PluginInstance> plugin;
};

Loaded load() {
  Loaded l;
  std::string error;
  l.module = Module::load(QV_FAKE_EFFECT, &error);
  EXPECT_TRUE(l.module) << error;
  if (!l.module) return l;
  const ClassInfo* cls = l.module->findAudioEffect();
  EXPECT_NE(cls, nullptr);
  if (!cls) return l;
  l.plugin = PluginInstance::create(*l.module, *cls, &error);
  EXPECT_TRUE(l.plugin) << error;
  return l;
}

AudioData ramp(int channels, size_t frames, double rate = 48000) {
  AudioData d;
  d.sampleRate = rate;
  d.channels.assign(static_cast<size_t>(channels), std::vector<double>(frames));
  for (int c = 0; c < channels; ++c) {
    for (size_t i = 0; i < frames; ++i) {
      d.channels[size_t(c)][i] = 0.25 * std::sin(0.003 * static_cast<double>(i)) * (c == 0 ? 1.0 : -1.0);
    }
  }
  return d;
}

bool renderTo(PluginInstance& plugin, const AudioData& in, const AudioData* side,
              const RenderOptions& options, AudioData* out, std::string* error) {
  MemorySource src(in);
  std::unique_ptr<MemorySource> sc = side ? std::make_unique<MemorySource>(*side) : nullptr;
  return render(
      plugin, src, sc.get(),
      [&](int channels, double rate, std::string*) -> std::unique_ptr<AudioSink> {
        return std::make_unique<MemorySink>(*out, channels, rate);
      },
      options, nullptr, error);
}

std::string machine() {
  struct utsname u {};
  ::uname(&u);
  return u.machine;
}

}  // namespace

TEST(HostRun, LoadsTheModuleAndFindsTheEffectClassByCategory) {
  std::string error;
  auto module = Module::load(QV_FAKE_EFFECT, &error);
  ASSERT_TRUE(module) << error;
  EXPECT_EQ(module->factoryInfo().vendor, "Fake Vendor");
  ASSERT_EQ(module->classes().size(), 2u);
  const ClassInfo* cls = module->findAudioEffect();
  ASSERT_NE(cls, nullptr);
  EXPECT_EQ(cls->name, "Fake Gain");
  EXPECT_EQ(cls->vendor, "Fake Vendor");  // an empty class vendor falls back to the factory's
  EXPECT_EQ(uidText(cls->cid.data()), "5156000146414B454546464543540001");
  EXPECT_EQ(module->findAudioEffect("Nothing"), nullptr);
}

TEST(HostRun, ResolvesBundlesAndRefusesWhatIsNotOne) {
  const std::string root = testing::TempDir() + "qvhost_bundle_" + std::to_string(::getpid());
  const std::string bundle = root + "/Fake.vst3";
  const std::string dir = bundle + "/Contents/" + machine() + "-linux";
  ASSERT_EQ(std::system(("mkdir -p '" + dir + "'").c_str()), 0);
  std::string error;
  EXPECT_TRUE(resolveModulePath(bundle, &error).empty());
  EXPECT_NE(error.find("is not a VST 3 bundle"), std::string::npos);
  EXPECT_NE(error.find("Fake.so not found"), std::string::npos);

  ASSERT_EQ(::symlink(QV_FAKE_EFFECT, (dir + "/Fake.so").c_str()), 0);
  EXPECT_EQ(resolveModulePath(bundle + "/", &error), dir + "/Fake.so");
  auto module = Module::load(bundle, &error);
  ASSERT_TRUE(module) << error;
  EXPECT_NE(module->findAudioEffect(), nullptr);
  module.reset();

  EXPECT_TRUE(resolveModulePath(root, &error).empty());  // a folder that is not a bundle
  EXPECT_NE(error.find("not a VST 3 bundle"), std::string::npos);
  const std::string text = root + "/notes.txt";
  ASSERT_EQ(std::system(("echo hello > '" + text + "'").c_str()), 0);
  EXPECT_TRUE(resolveModulePath(text, &error).empty());
  EXPECT_FALSE(Module::load(root + "/missing.vst3", &error));
  EXPECT_NE(error.find("does not exist"), std::string::npos);
  // A shared library without the factory export is refused by name.
  EXPECT_FALSE(Module::load("libsndfile.so.1", &error));
  std::system(("rm -rf '" + root + "'").c_str());
}

TEST(HostRun, BringsThePlugInUpAndDownInTheOrderADawUses) {
  FakeHooks hooks;
  ASSERT_TRUE(hooks.log && hooks.reset);
  hooks.reset();
  {
    Loaded l = load();
    ASSERT_TRUE(l.plugin);
    EXPECT_TRUE(l.plugin->singleComponent());
    RenderOptions options;
    options.parameterChanges = {{kGain, 0.25}};
    AudioData out;
    std::string error;
    ASSERT_TRUE(renderTo(*l.plugin, ramp(2, 1000), nullptr, options, &out, &error)) << error;
  }
  const std::string log = hooks.log();
  const char* order[] = {"ModuleEntry",
                         "initialize:quorvane-host",
                         "setComponentHandler;",
                         "setBusArrangements;",
                         "activateBus:0/0=1",
                         "activateBus:0/1=0",
                         "activateBus:1/0=1",
                         "setupProcessing:48000/512/32",
                         "setActive:1",
                         "setProcessing:1",
                         "change:0@0",
                         "setProcessing:0",
                         "setActive:0",
                         "setComponentHandler:null",
                         "terminate",
                         "destroyed",
                         "factoryReleased",
                         "ModuleExit"};
  size_t pos = 0;
  for (const char* step : order) {
    const size_t at = log.find(step, pos);
    ASSERT_NE(at, std::string::npos) << "missing or out of order: " << step << "\nlog: " << log;
    pos = at;
  }
  // The parameter change arrives once, with the first block only.
  EXPECT_EQ(log.find("change:", log.find("change:") + 1), std::string::npos) << log;
  // No initialize of a second controller object for a single-component effect.
  EXPECT_EQ(log.find("initialize", log.find("initialize") + 1), std::string::npos) << log;
}

TEST(HostRun, ResolvesParameterTextTheWayUsersWriteIt) {
  Loaded l = load();
  ASSERT_TRUE(l.plugin);
  const auto params = l.plugin->parameters();
  ASSERT_EQ(params.size(), 6u);
  const auto resolve = [&](const std::string& arg, ResolvedSetting* r, std::string* error) {
    ParameterSetting s;
    return splitSetting(arg, &s, error) && resolveSetting(*l.plugin, params, s, r, error);
  };
  ResolvedSetting r;
  std::string error;

  ASSERT_TRUE(resolve("Gain=-6", &r, &error)) << error;
  EXPECT_EQ(r.id, kGain);
  EXPECT_DOUBLE_EQ(r.normalized, 18.0 / 48.0);
  EXPECT_EQ(r.display, "-6.0");
  ASSERT_TRUE(resolve(" gain = -6 dB ", &r, &error)) << error;  // case, spaces and the unit are forgiven
  EXPECT_DOUBLE_EQ(r.normalized, 18.0 / 48.0);
  ASSERT_TRUE(resolve("Mode=hard", &r, &error)) << error;
  EXPECT_EQ(r.id, kMode);
  EXPECT_EQ(r.normalized, 1.0);
  ASSERT_TRUE(resolve("11=0", &r, &error)) << error;
  EXPECT_EQ(r.id, kEngage);
  ASSERT_TRUE(resolve("0x62706173=1", &r, &error)) << error;
  EXPECT_EQ(r.id, kHostBypass);
  EXPECT_EQ(r.normalized, 1.0);
  ASSERT_TRUE(resolve("Ghost=1", &r, &error)) << error;  // no display text: the plain value converts

  EXPECT_FALSE(resolve("Bypass=0", &r, &error));
  EXPECT_NE(error.find("ids 11, 1651532147"), std::string::npos) << error;
  EXPECT_FALSE(resolve("Gain=30", &r, &error));
  EXPECT_NE(error.find("out of range"), std::string::npos) << error;
  EXPECT_NE(error.find("-24.0 .. 24.0 dB"), std::string::npos) << error;
  EXPECT_FALSE(resolve("Gain=loud", &r, &error));
  EXPECT_NE(error.find("not a valid value"), std::string::npos) << error;
  EXPECT_FALSE(resolve("Ghost=2", &r, &error));
  EXPECT_NE(error.find("out of range"), std::string::npos) << error;
  EXPECT_FALSE(resolve("Mode=Extreme", &r, &error));
  // A stepped value between steps is refused, with the steps named, not cut to the one below.
  for (const char* between : {"Mode=0.7", "0x62706173=0.7"}) {
    EXPECT_FALSE(resolve(between, &r, &error)) << between << " gave " << r.normalized;
    EXPECT_NE(error.find("is not one of the values"), std::string::npos) << error;
  }
  EXPECT_NE(error.find("it takes 0, 1"), std::string::npos) << error;
  ASSERT_TRUE(resolve("Mode=0.5", &r, &error)) << error;
  EXPECT_EQ(r.display, "Medium");
  EXPECT_FALSE(resolve("Meter=0.5", &r, &error));
  EXPECT_NE(error.find("read-only"), std::string::npos) << error;
  EXPECT_FALSE(resolve("Nope=1", &r, &error));
  EXPECT_NE(error.find("unknown parameter"), std::string::npos) << error;
  EXPECT_FALSE(resolve("99=1", &r, &error));
  EXPECT_NE(error.find("unknown parameter id 99"), std::string::npos) << error;
  EXPECT_FALSE(resolve("Gain", &r, &error));
  EXPECT_FALSE(resolve("=3", &r, &error));
}

TEST(HostRun, RendersAlignedWithTheInputAtBothPrecisions) {
  const AudioData in = ramp(2, 5000);
  const double gain = std::pow(10.0, -6.0 / 20.0);
  for (int bits : {32, 64}) {
    Loaded l = load();
    ASSERT_TRUE(l.plugin);
    RenderOptions options;
    options.blockSize = 333;  // blocks that do not divide the length or the latency
    options.symbolicSampleSize = bits == 64 ? vst3abi::kSample64 : vst3abi::kSample32;
    options.parameterChanges = {{kGain, 18.0 / 48.0}};
    AudioData out;
    std::string error;
    ASSERT_TRUE(renderTo(*l.plugin, in, nullptr, options, &out, &error)) << error;
    ASSERT_EQ(out.channelCount(), 2);
    ASSERT_EQ(out.frames(), in.frames());  // the 32 samples of latency are compensated
    for (int c = 0; c < 2; ++c) {
      for (size_t i = 0; i < in.frames(); ++i) {
        const double want = in.channels[size_t(c)][i] * gain;
        ASSERT_NEAR(out.channels[size_t(c)][i], want, bits == 64 ? 1e-15 : 1e-7)
            << bits << " bit, frame " << i;
      }
    }
    // The meter the processor reports has reached the controller.
    EXPECT_GT(l.plugin->controller()->getParamNormalized(kMeter), 0.0);
  }
}

TEST(HostRun, FeedsTheSidechainAndSpreadsMonoInput) {
  Loaded l = load();
  ASSERT_TRUE(l.plugin);
  AudioData mono = ramp(1, 2000);
  AudioData side = ramp(2, 1500);  // shorter: continues as silence
  for (double& v : side.channels[0]) v = 0.1;
  RenderOptions options;
  options.parameterChanges = {{kGain, 0.5}};  // 0 dB
  AudioData out;
  std::string error;
  ASSERT_TRUE(renderTo(*l.plugin, mono, &side, options, &out, &error)) << error;
  ASSERT_EQ(out.frames(), 2000u);
  for (size_t i = 0; i < 2000; ++i) {
    const double sc = i < 1500 ? 0.05 : 0.0;
    ASSERT_NEAR(out.channels[0][i], mono.channels[0][i] + sc, 1e-6) << i;
    ASSERT_NEAR(out.channels[1][i], mono.channels[0][i] + sc, 1e-6) << i;
  }

  side.sampleRate = 44100;
  EXPECT_FALSE(renderTo(*l.plugin, mono, &side, options, &out, &error));
  EXPECT_NE(error.find("sample rates differ"), std::string::npos) << error;

  // Channels the busses cannot take are refused, not dropped.
  EXPECT_FALSE(renderTo(*l.plugin, ramp(3, 100), nullptr, options, &out, &error));
  EXPECT_NE(error.find("main input has 3 channels, but the plug-in's main input bus takes 2"),
            std::string::npos)
      << error;
  const AudioData wideSide = ramp(4, 100);
  EXPECT_FALSE(renderTo(*l.plugin, mono, &wideSide, options, &out, &error));
  EXPECT_NE(error.find("sidechain has 4 channels"), std::string::npos) << error;
}

TEST(HostRun, StateSavedFromOneInstanceRestoresAnother) {
  std::vector<uint8_t> component, controller;
  std::string error;
  {
    Loaded a = load();
    ASSERT_TRUE(a.plugin);
    a.plugin->controller()->setParamNormalized(kGain, 0.125);
    a.plugin->controller()->setParamNormalized(kHostBypass, 1.0);
    ASSERT_TRUE(a.plugin->saveState(&component, &controller, &error)) << error;
  }
  EXPECT_EQ(component.size(), 32u);  // the processor side and the controller side are separate slots
  EXPECT_EQ(std::string(controller.begin(), controller.end()), "VIEW");

  Loaded b = load();
  ASSERT_TRUE(b.plugin);
  ASSERT_TRUE(b.plugin->loadState(component, controller, &error)) << error;
  EXPECT_EQ(b.plugin->controller()->getParamNormalized(kGain), 0.125);
  EXPECT_EQ(b.plugin->controller()->getParamNormalized(kHostBypass), 1.0);

  EXPECT_FALSE(b.plugin->loadState({1, 2, 3}, {}, &error));
  EXPECT_NE(error.find("processor state"), std::string::npos);
  EXPECT_FALSE(b.plugin->loadState(component, {'X'}, &error));
  EXPECT_NE(error.find("controller state"), std::string::npos);
}

TEST(HostRun, InfoListsBussesParametersAndTheirDisplayText) {
  Loaded l = load();
  ASSERT_TRUE(l.plugin);
  char* text = nullptr;
  size_t size = 0;
  std::FILE* out = ::open_memstream(&text, &size);
  ASSERT_NE(out, nullptr);
  printModuleInfo(out, *l.module);
  printInstanceInfo(out, *l.plugin);
  std::fclose(out);
  const std::string info(text, size);
  std::free(text);
  for (const char* expected :
       {"Audio Module Class  \"Fake Gain\"", "Test Class  \"Fake Test\"",
        "audio in  1  \"Aux Input\"  2 ch  aux", "32-bit yes, 64-bit yes", "latency 32 samples",
        "id 0  \"Gain\"  units \"dB\"  steps 0  flags automate", "range \"-24.0\" .. \"24.0\"",
        "values \"Soft\", \"Medium\", \"Hard\"", "id 1651532147  \"Bypass\"", "flags automate,bypass",
        "flags read-only", "single component"}) {
    EXPECT_NE(info.find(expected), std::string::npos) << "missing: " << expected << "\n" << info;
  }
}
