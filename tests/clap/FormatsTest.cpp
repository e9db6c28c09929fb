// Quorvane.clap beside Quorvane.vst3, both loaded by the host library: the same input, settings
// and automation give the same samples in both widths, a state saved through one format loads
// through the other, damaged state is refused whole, and the parameters read the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "host/clap/ClapModule.h"
#include "host/clap/ClapPlugin.h"
#include "host/cli/EffectLoader.h"
#include "host/effect/StateFile.h"
#include "host/vst3/BlockProcessor.h"
#include "host/vst3/Module.h"
#include "host/vst3/PluginInstance.h"

using namespace qvhost;

namespace {

using Planar = std::vector<std::vector<double>>;

// Program and key: chords of sines with a pumping envelope, and a sidechain of clicks.
Planar signal(size_t frames, bool key) {
  Planar s(2, std::vector<double>(frames));
  for (size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / 48000.0;
    for (int c = 0; c < 2; ++c) {
      if (key) {
        s[c][i] = (i % 6000) < 300 ? 0.9 * std::sin(t * 6283.0) : 0.0;
      } else {
        const double env = 0.3 + 0.7 * std::fabs(std::sin(t * 3.1));
        s[c][i] = env * (0.5 * std::sin(t * 690.0 * (c + 1)) + 0.3 * std::sin(t * 2513.0) +
                         0.1 * std::sin(t * 9000.0));
      }
    }
  }
  return s;
}

struct Scenario {
  std::vector<std::string> settings;
  std::vector<std::string> automation;  // applied before block 40, at offset 100
  bool sidechain = false;
};

// Values whose normalized form is exact, so both formats store the same plain value.
const Scenario kScenarios[] = {
    {{"Threshold=-7.5", "Ratio=3", "Attack Time=2", "Make-Up Gain=3.75"}, {"Threshold=-3.75"}, false},
    {{"Threshold=-11.25", "Ratio=5", "HPF=140", "Mid Gain=3", "HF=-5", "Compressor Mix=50", "Turbo=1",
      "Transient Mix=25", "Transient Tilt=0.5", "11=0"},
     {"XFormer=1", "Boost=5"},
     false},
    {{"Threshold=-15", "External Sidechain=1", "Release Time=3", "11=0"}, {"Ratio=1"}, true},
};

Planar render(LoadedEffect& effect, const Scenario& sc, int precision, int block) {
  std::string error;
  auto proc = effect.makeProcessor();
  ProcessConfig config;
  config.maxBlock = block;
  config.symbolicSampleSize = precision == 64 ? vst3abi::kSample64 : vst3abi::kSample32;
  config.sidechain = sc.sidechain;
  EXPECT_TRUE(proc->start(config, &error)) << error;
  auto queue = [&](const std::vector<std::string>& args, int32_t offset) {
    for (const auto& arg : args) {
      EffectSetting s;
      EXPECT_TRUE(effect.resolveSetting(arg, &s, &error)) << arg << ": " << error;
      proc->queueParameter(s.id, s.value, offset);
    }
  };
  queue(sc.settings, 0);
  const size_t frames = 48000;
  const Planar in = signal(frames, false), key = signal(frames, true);
  Planar out(2, std::vector<double>(frames));
  for (size_t pos = 0, b = 0; pos < frames; pos += static_cast<size_t>(block), ++b) {
    if (b == 40) queue(sc.automation, 100);
    const auto n = static_cast<int32_t>(std::min(frames - pos, static_cast<size_t>(block)));
    const double* i[2] = {in[0].data() + pos, in[1].data() + pos};
    const double* k[2] = {key[0].data() + pos, key[1].data() + pos};
    double* o[2] = {out[0].data() + pos, out[1].data() + pos};
    EXPECT_TRUE(proc->process(i, sc.sidechain ? k : nullptr, o, n, &error)) << error;
  }
  proc->stop();
  return out;
}

// One instance of each format, loaded the way a host loads them.
struct BothFormats {
  std::string error;
  std::unique_ptr<Module> vmod = Module::load(QV_BUNDLE_PATH, &error);
  std::unique_ptr<ClapModule> cmod = ClapModule::load(QV_CLAP_PATH, &error);
  std::unique_ptr<PluginInstance> vst3 =
      vmod ? PluginInstance::create(*vmod, *vmod->findAudioEffect("Quorvane"), &error) : nullptr;
  std::unique_ptr<ClapPlugin> clap = cmod ? ClapPlugin::create(*cmod, *cmod->find(), &error) : nullptr;
};

}  // namespace

TEST(ClapFormats, SameInputSettingsAndAutomationGiveTheSameSamplesAsVst3) {
  std::string error;
  for (const Scenario& sc : kScenarios) {
    for (int precision : {32, 64}) {
      for (int block : {512, 333}) {
        auto vst3 = loadEffect(QV_BUNDLE_PATH, "", &error);
        auto clap = loadEffect(QV_CLAP_PATH, "", &error);
        ASSERT_TRUE(vst3 && clap) << error;
        const Planar a = render(*vst3, sc, precision, block);
        const Planar b = render(*clap, sc, precision, block);
        size_t differ = 0;
        double energy = 0;
        for (int c = 0; c < 2; ++c)
          for (size_t i = 0; i < a[c].size(); ++i) {
            differ += std::memcmp(&a[c][i], &b[c][i], sizeof(double)) != 0;
            energy += b[c][i] * b[c][i];
          }
        EXPECT_EQ(differ, 0u) << sc.settings[0] << ", " << precision << "-bit, block " << block;
        EXPECT_GT(energy, 1.0);  // the plug-in made sound, not silence in both
      }
    }
  }
}

TEST(ClapFormats, StateMovesBetweenFormatsAndDamagedStateIsRefusedWhole) {
  BothFormats both;
  ASSERT_TRUE(both.vst3 && both.clap) << both.error;
  std::string error;
  PluginInstance* vst3 = both.vst3.get();
  ClapPlugin* clap = both.clap.get();

  // A VST 3 setting (through its controller, as a DAW's preset load would leave it) into CLAP.
  vst3->controller()->setParamNormalized(7, 0.25);  // Threshold -7.5
  vst3->controller()->setParamNormalized(13, 0.4);  // Ratio 2
  std::vector<uint8_t> fromVst3, controller;
  ASSERT_TRUE(vst3->saveState(&fromVst3, &controller, &error)) << error;
  ASSERT_EQ(fromVst3.size(), 140u);
  ASSERT_TRUE(clap->loadState(fromVst3, &error)) << error;
  double v = 0;
  EXPECT_TRUE(clap->value(7, &v));
  EXPECT_EQ(v, -7.5);
  std::vector<uint8_t> fromClap;
  ASSERT_TRUE(clap->saveState(&fromClap, &error)) << error;
  EXPECT_EQ(fromClap, fromVst3);

  // And back: a CLAP edit reaches VST 3 through the same bytes.
  std::vector<uint8_t> edited = fromClap;
  const double hpf = 140.0;
  std::memcpy(edited.data() + 3 * sizeof(double), &hpf, sizeof hpf);
  ASSERT_TRUE(clap->loadState(edited, &error)) << error;
  ASSERT_TRUE(clap->saveState(&fromClap, &error));
  ASSERT_TRUE(vst3->loadState(fromClap, {}, &error)) << error;
  EXPECT_DOUBLE_EQ(vst3->controller()->getParamNormalized(3), 0.5);

  // Damage of any kind leaves everything as it was.
  const double nan = std::nan("");
  std::vector<uint8_t> withNan = fromVst3, cut(fromVst3.begin(), fromVst3.end() - 1);
  std::memcpy(withNan.data() + 7 * sizeof(double), &nan, sizeof nan);
  for (const auto* damaged : {&withNan, &cut}) {
    EXPECT_FALSE(clap->loadState(*damaged, &error));
    std::vector<uint8_t> now;
    ASSERT_TRUE(clap->saveState(&now, &error));
    EXPECT_EQ(now, fromClap);
  }
}

// The host's state file, as --state-out writes it and --state-in reads it: one format of the product
// takes what the other saved, while another product's state is refused by both.
TEST(ClapFormats, HostStateFileMovesBetweenFormatsButNotToAnotherProduct) {
  const std::pair<const char*, const char*> routes[] = {{QV_BUNDLE_PATH, QV_CLAP_PATH},
                                                        {QV_CLAP_PATH, QV_BUNDLE_PATH}};
  for (const auto& route : routes) {
    SCOPED_TRACE(std::string(route.first) + " -> " + route.second);
    std::string error;
    auto from = loadEffect(route.first, "", &error);
    auto to = loadEffect(route.second, "", &error);
    ASSERT_TRUE(from && to) << error;
    PluginState saved;
    ASSERT_TRUE(from->saveState(&saved, &error)) << error;
    ASSERT_EQ(saved.component.size(), 140u);
    const double threshold = -7.5;
    std::memcpy(saved.component.data() + 7 * sizeof(double), &threshold, sizeof threshold);
    ASSERT_TRUE(from->loadState(saved, &error)) << error;
    ASSERT_TRUE(from->saveState(&saved, &error)) << error;

    PluginState file;
    ASSERT_TRUE(decodeState(encodeState(saved), &file, &error)) << error;
    ASSERT_TRUE(to->loadState(file, &error)) << error;
    PluginState after;
    ASSERT_TRUE(to->saveState(&after, &error)) << error;
    EXPECT_EQ(after.component, saved.component);
    EXPECT_NE(after.classId, saved.classId);

    PluginState foreign = file;
    foreign.classId.fill(0x11);
    foreign.name = "Quorvane Two";
    EXPECT_FALSE(to->loadState(foreign, &error));
    EXPECT_NE(error.find("another plug-in"), std::string::npos) << error;
    foreign.name = file.name;
    foreign.vendor = "Someone Else";
    EXPECT_FALSE(from->loadState(foreign, &error));
  }
}

TEST(ClapFormats, ParametersReadAsInVst3AndTextParsingRefusesNonsense) {
  BothFormats both;
  ASSERT_TRUE(both.vst3 && both.clap) << both.error;
  std::string error;
  PluginInstance* vst3 = both.vst3.get();
  ClapPlugin* clap = both.clap.get();

  const auto params = clap->parameters();
  ASSERT_EQ(params.size(), 17u);  // 16 and the host bypass
  const auto vparams = vst3->parameters();
  int bypasses = 0;
  for (const auto& p : params) {
    EXPECT_TRUE(p.flags & CLAP_PARAM_IS_AUTOMATABLE) << p.name;
    if (p.flags & CLAP_PARAM_IS_BYPASS) {
      ++bypasses;
      EXPECT_EQ(clap->text(p.id, 1), "on");
      continue;
    }
    const auto vp = std::find_if(vparams.begin(), vparams.end(), [&](const auto& d) { return d.id == p.id; });
    ASSERT_NE(vp, vparams.end()) << p.name;
    EXPECT_EQ(p.name, vp->title);
    EXPECT_EQ((p.flags & CLAP_PARAM_IS_STEPPED) != 0, vp->stepCount > 0) << p.name;
    for (double plain : {p.min, p.defaultValue, p.max}) {
      const double n = p.max > p.min ? (plain - p.min) / (p.max - p.min) : 0;
      std::string vtext = vst3->displayString(p.id, p.id == 3 ? std::sqrt(n) : n);  // HPF's shape
      if (!vp->units.empty()) vtext += " " + vp->units;
      const std::string text = clap->text(p.id, plain);
      EXPECT_EQ(text, vtext) << p.name;
      double back = NAN;
      EXPECT_TRUE(clap->params()->text_to_value(clap->plugin(), p.id, text.c_str(), &back)) << text;
      EXPECT_NEAR(back, plain, 0.006) << p.name;
    }
    double out = 0;
    for (const char* nonsense : {"", "abc", "inf", "nan", "-", "%"})
      EXPECT_FALSE(clap->params()->text_to_value(clap->plugin(), p.id, nonsense, &out)) << nonsense;
  }
  EXPECT_EQ(bypasses, 1);
  double out = 0;
  char buf[64];
  EXPECT_FALSE(clap->params()->text_to_value(clap->plugin(), 0, "1", &out));  // the unused slot
  EXPECT_FALSE(clap->params()->value_to_text(clap->plugin(), 12345, 1.0, buf, sizeof buf));
}
