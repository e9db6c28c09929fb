// The built Quorvane.vst3 bundle loaded the way a DAW loads it: module entry, factory and class
// description, the parameter list the host sees, state streams, and processing through the
// command-line host's block runner.
#include "vst3/abi/ResultCodes.h"

#include "host/vst3/BlockProcessor.h"
#include "host/vst3/Module.h"
#include "host/vst3/PluginInstance.h"
#include "host/vst3/Utf8Text.h"
#include "vst3/abi/AllInterfaces.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace vst3abi;
using namespace qvhost;

namespace {

constexpr ParamID kPresetId = 0x70727374;
constexpr ParamID kBypassId = 0x62706173;
enum { kMakeUpGain = 4, kThreshold = 7, kBypass = 11, kExternalSidechain = 12, kRatio = 13 };

class Bundle : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    sModule = Module::load(QV_BUNDLE_PATH, &error).release();
    ASSERT_NE(sModule, nullptr) << error;
  }
  static void TearDownTestSuite() {
    delete sModule;
    sModule = nullptr;
  }
  std::unique_ptr<PluginInstance> Create() {
    std::string error;
    const ClassInfo* cls = sModule->findAudioEffect("Quorvane");
    EXPECT_NE(cls, nullptr);
    auto inst = cls ? PluginInstance::create(*sModule, *cls, &error) : nullptr;
    EXPECT_NE(inst, nullptr) << error;
    return inst;
  }
  static Module* sModule;
};

Module* Bundle::sModule = nullptr;

// Runs a stereo signal (and optionally a sidechain) through an instance; returns the output.
struct Runner {
  ProcessConfig config;
  std::vector<std::pair<ParamID, double>> params;
  std::vector<std::vector<double>> Process(PluginInstance& inst, const std::vector<std::vector<double>>& in,
                                           const std::vector<std::vector<double>>* side = nullptr) {
    BlockProcessor proc(inst);
    std::string error;
    EXPECT_TRUE(proc.start(config, &error)) << error;
    const int frames = static_cast<int>(in[0].size());
    std::vector<std::vector<double>> out(2, std::vector<double>(frames));
    for (const auto& p : params) proc.queueParameter(p.first, p.second);
    for (int pos = 0; pos < frames; pos += config.maxBlock) {
      const int n = std::min(config.maxBlock, frames - pos);
      const double* inPtr[2] = {in[0].data() + pos, in[1].data() + pos};
      const double* scPtr[2] = {side ? (*side)[0].data() + pos : nullptr,
                                side ? (*side)[1].data() + pos : nullptr};
      double* outPtr[2] = {out[0].data() + pos, out[1].data() + pos};
      EXPECT_TRUE(proc.process(inPtr, side ? scPtr : nullptr, outPtr, n, &error)) << error;
    }
    return out;
  }
};

std::vector<std::vector<double>> Sine(int frames, double amplitude, double hz = 1000.0) {
  std::vector<std::vector<double>> s(2, std::vector<double>(frames));
  for (int i = 0; i < frames; ++i) s[0][i] = s[1][i] = amplitude * std::sin(2 * M_PI * hz * i / 48000.0);
  return s;
}

double Rms(const std::vector<double>& x, size_t from) {
  double sum = 0;
  for (size_t i = from; i < x.size(); ++i) sum += x[i] * x[i];
  return std::sqrt(sum / static_cast<double>(x.size() - from));
}

}  // namespace

TEST_F(Bundle, FactoryAndClassDescribeTheProduct) {
  const FactoryInfo& fi = sModule->factoryInfo();
  EXPECT_EQ(fi.vendor, "Tallowmarkworks");
  EXPECT_EQ(fi.url, "https://www.tallowmarkworks.com");
  EXPECT_EQ(fi.email, "support@tallowmarkworks.com");
  EXPECT_EQ(fi.flags, PFactoryInfo::kUnicode);
  ASSERT_EQ(sModule->classes().size(), 1u);
  const ClassInfo& c = sModule->classes()[0];
  EXPECT_EQ(std::memcmp(c.cid.data(), "\x5A\x3C\x9E\x17\xB4\xD2\x41\x7FTmwkQvr1", 16), 0);
  EXPECT_EQ(c.cardinality, 0x7FFFFFFF);
  EXPECT_EQ(c.category, "Audio Module Class");
  EXPECT_EQ(c.name, "Quorvane");
  EXPECT_EQ(c.classFlags, 2u);
  EXPECT_EQ(c.subCategories, "Fx|Dynamics");
  EXPECT_EQ(c.version, "1.1.0");
  EXPECT_EQ(c.sdkVersion, "VST 3.6.12");
  PClassInfo2 raw{};
  auto f2 = Ref<IPluginFactory>::share(sModule->factory()).query<IPluginFactory2>();
  ASSERT_TRUE(f2);
  ASSERT_EQ(f2->getClassInfo2(0, &raw), kResultOk);
  EXPECT_STREQ(raw.vendor, "");  // hosts take the factory's vendor

  // moduleinfo.json lets hosts list the class without loading the module; it must agree.
  std::ifstream file(std::string(QV_BUNDLE_PATH) + "/Contents/Resources/moduleinfo.json");
  ASSERT_TRUE(file.good());
  std::stringstream json;
  json << file.rdbuf();
  for (const std::string& expected :
       {"\"CID\": \"" + uidText(c.cid.data()) + "\"", std::string("\"Vendor\": \"Tallowmarkworks\""),
        std::string("\"URL\": \"https://www.tallowmarkworks.com\""),
        std::string("\"E-Mail\": \"support@tallowmarkworks.com\""), std::string("\"Version\": \"1.1.0\""),
        std::string("\"SDKVersion\": \"VST 3.6.12\""), std::string("\"Cardinality\": 2147483647"),
        std::string("\"Class Flags\": 2"), std::string("\"Dynamics\"")}) {
    EXPECT_NE(json.str().find(expected), std::string::npos) << expected;
  }
}

TEST_F(Bundle, ModuleSharesOneFactoryAndExportsOnlyItsEntryPoints) {
  void* lib = dlopen(sModule->libraryPath().c_str(), RTLD_LAZY | RTLD_NOLOAD);
  ASSERT_NE(lib, nullptr);
  auto get = reinterpret_cast<GetFactoryProc>(dlsym(lib, "GetPluginFactory"));
  ASSERT_NE(get, nullptr);
  IPluginFactory* a = get();
  IPluginFactory* b = get();
  EXPECT_EQ(a, sModule->factory());
  EXPECT_EQ(b, a);
  EXPECT_EQ(a->addRef(), 4u);  // the module's reference, the two calls and this one
  a->release();
  a->release();
  b->release();
  EXPECT_EQ(dlsym(lib, "MakePlug"), nullptr);
  EXPECT_EQ(dlsym(lib, "_Z8MakePlugv"), nullptr);
  dlclose(lib);

  FILE* nm = popen(("nm -D --defined-only '" + sModule->libraryPath() + "' 2>/dev/null").c_str(), "r");
  ASSERT_NE(nm, nullptr);
  std::set<std::string> exported;
  char line[512];
  while (std::fgets(line, sizeof line, nm)) {
    char type = 0;
    char name[400] = "";
    if (std::sscanf(line, "%*s %c %399s", &type, name) == 2 && (type == 'T' || type == 'D' || type == 'B'))
      exported.insert(name);
  }
  pclose(nm);
  if (!exported.empty()) {
    EXPECT_EQ(exported, (std::set<std::string>{"GetPluginFactory", "ModuleEntry", "ModuleExit"}));
  }
}

TEST_F(Bundle, HostSeesPresetBypassAndSeventeenParameters) {
  auto inst = Create();
  ASSERT_TRUE(inst);
  const auto params = inst->parameters();
  ASSERT_EQ(params.size(), 19u);
  EXPECT_EQ(params[0].id, kPresetId);
  EXPECT_EQ(params[0].title, "Preset");
  EXPECT_EQ(params[0].stepCount, 1);
  EXPECT_EQ(params[0].flags, ParameterInfo::kIsProgramChange);
  EXPECT_EQ(params[1].id, kBypassId);
  EXPECT_EQ(params[1].title, "Bypass");
  EXPECT_EQ(params[1].flags, 0x10009);
  EXPECT_EQ(params[1].stepCount, 1);

  struct Expected {
    const char* title;
    const char* units;
    int steps;
    double defaultNormalized;
  };
  const Expected expected[17] = {{"Reserved", "", 1, 0.0},
                                 {"Boost", "%", 0, 0.0},
                                 {"HF", "%", 0, 1.0},
                                 {"HPF", "%", 0, 0.0},
                                 {"Make-Up Gain", "%", 0, 0.0},
                                 {"Mid Gain", "%", 0, 0.5},
                                 {"Compressor Mix", "%", 0, 1.0},
                                 {"Threshold", "%", 0, 1.0},
                                 {"Transient Mix", "%", 0, 0.0},
                                 {"Transient Tilt", "%", 0, 0.5},
                                 {"Attack Time", "", 5, 0.0},
                                 {"Bypass", "", 1, 1.0},
                                 {"External Sidechain", "", 1, 0.0},
                                 {"Ratio", "", 5, 0.0},
                                 {"Release Time", "", 4, 0.0},
                                 {"Turbo", "", 1, 0.0},
                                 {"XFormer", "", 1, 0.0}};
  for (int i = 0; i < 17; ++i) {
    const ParameterDescription& p = params[2 + i];
    SCOPED_TRACE(i);
    EXPECT_EQ(p.id, static_cast<ParamID>(i));
    EXPECT_EQ(p.title, expected[i].title);
    EXPECT_EQ(p.units, expected[i].units);
    EXPECT_EQ(p.stepCount, expected[i].steps);
    EXPECT_NEAR(p.defaultNormalized, expected[i].defaultNormalized, 1e-12);
    EXPECT_EQ(p.unitId, 0);
    EXPECT_EQ(p.flags,
              i == 0 ? ParameterInfo::kIsReadOnly | ParameterInfo::kIsHidden : ParameterInfo::kCanAutomate);
  }

  IEditController* ctrl = inst->controller();
  auto units = Ref<IEditController>::share(ctrl).query<IUnitInfo>();
  ASSERT_TRUE(units);
  EXPECT_EQ(units->getUnitCount(), 1);
  UnitInfo unit{};
  ASSERT_EQ(units->getUnitInfo(0, &unit), kResultOk);
  EXPECT_EQ(toUtf8(unit.name, 128), "Root Unit");
  EXPECT_EQ(unit.programListId, kNoProgramListId);
  EXPECT_EQ(units->getUnitInfo(1, &unit), kResultFalse);
  EXPECT_EQ(units->getProgramListCount(), 0);
  ProgramListInfo list{};
  ASSERT_EQ(units->getProgramListInfo(0, &list), kResultOk);
  EXPECT_EQ(toUtf8(list.name, 128), "Factory Presets");
  EXPECT_EQ(list.programCount, 1);
  String128 name{};
  ASSERT_EQ(units->getProgramName(static_cast<ProgramListID>(kPresetId), 0, name), kResultOk);
  EXPECT_EQ(toUtf8(name, 128), "-");
  EXPECT_EQ(inst->displayString(kRatio, 1.0), "5");
}

TEST_F(Bundle, StateIs140BytesAndAControllerStateAloneRestoresEverything) {
  auto inst = Create();
  ASSERT_TRUE(inst);
  IEditController* ctrl = inst->controller();
  ASSERT_EQ(ctrl->setParamNormalized(kThreshold, 0.25), kResultOk);
  ASSERT_EQ(ctrl->setParamNormalized(kRatio, 0.6), kResultOk);
  {
    Runner run;
    run.params = {{kBypassId, 1.0}};
    run.Process(*inst, Sine(64, 0.1));
  }
  std::vector<uint8_t> comp, state;
  std::string error;
  ASSERT_TRUE(inst->saveState(&comp, &state, &error));
  ASSERT_EQ(state.size(), 140u);
  EXPECT_EQ(comp, state);
  EXPECT_EQ(std::vector<uint8_t>(state.end() - 4, state.end()), (std::vector<uint8_t>{1, 0, 0, 0}));
  double threshold = 0;
  std::memcpy(&threshold, state.data() + 8 * kThreshold, 8);
  EXPECT_DOUBLE_EQ(threshold, -7.5);

  auto restored = Create();
  ASSERT_TRUE(restored);
  ASSERT_TRUE(restored->loadState({}, state, &error)) << error;
  IEditController* ctrl2 = restored->controller();
  for (ParamID id = 0; id < 17; ++id)
    EXPECT_EQ(ctrl2->getParamNormalized(id), ctrl->getParamNormalized(id)) << id;
  EXPECT_EQ(ctrl2->getParamNormalized(kBypassId), 1.0);
  std::vector<uint8_t> comp2, state2;
  ASSERT_TRUE(restored->saveState(&comp2, &state2, &error));
  EXPECT_EQ(state2, state);

  // A truncated processor state is refused and leaves the instance as it was.
  auto third = Create();
  ASSERT_TRUE(third);
  EXPECT_FALSE(third->loadState(std::vector<uint8_t>(state.begin(), state.begin() + 100), {}, &error));
  EXPECT_EQ(third->controller()->getParamNormalized(kThreshold), 1.0);
}

TEST_F(Bundle, ADamagedStateIsRefusedWholeOnBothSides) {
  auto inst = Create();
  ASSERT_TRUE(inst);
  IEditController* ctrl = inst->controller();
  ASSERT_EQ(ctrl->setParamNormalized(kThreshold, 0.25), kResultOk);
  std::vector<uint8_t> comp, good;
  std::string error;
  ASSERT_TRUE(inst->saveState(&comp, &good, &error));
  std::vector<uint8_t> changed = good;
  const double makeUp = 6.0;
  std::memcpy(changed.data() + 8 * kMakeUpGain, &makeUp, 8);
  changed[136] = 1;  // bypassed

  auto fresh = Create();
  ASSERT_TRUE(fresh);
  std::vector<uint8_t> before, unused;
  ASSERT_TRUE(fresh->saveState(&before, &unused, &error));
  const auto unchanged = [&](const char* what) {
    std::vector<uint8_t> now, ctrlNow;
    ASSERT_TRUE(fresh->saveState(&now, &ctrlNow, &error));
    EXPECT_EQ(now, before) << what;
  };
  // A non-finite value after good ones, and a stream cut inside the parameter bytes.
  for (double bad : {std::nan(""), HUGE_VAL}) {
    std::vector<uint8_t> damaged = changed;
    std::memcpy(damaged.data() + 8 * kRatio, &bad, 8);
    EXPECT_FALSE(fresh->loadState({}, damaged, &error));
    EXPECT_NE(error.find("refused"), std::string::npos) << error;
    unchanged("controller, non-finite");
    EXPECT_FALSE(fresh->loadState(damaged, {}, &error));
    unchanged("component, non-finite");
  }
  EXPECT_FALSE(fresh->loadState({}, std::vector<uint8_t>(changed.begin(), changed.begin() + 100), &error));
  unchanged("controller, 100 bytes");

  // 136 good bytes and a read that succeeds empty: values applied, bypass cleared, success.
  ASSERT_TRUE(fresh->loadState({}, changed, &error)) << error;
  EXPECT_EQ(fresh->controller()->getParamNormalized(kBypassId), 1.0);
  ASSERT_TRUE(fresh->loadState({}, std::vector<uint8_t>(good.begin(), good.begin() + 136), &error)) << error;
  EXPECT_EQ(fresh->controller()->getParamNormalized(kThreshold), 0.25);
  EXPECT_EQ(fresh->controller()->getParamNormalized(kBypassId), 0.0);
}

TEST_F(Bundle, BypassAboveOneHalfPassesTheInputThrough) {
  const auto in = Sine(2048, 0.9);
  for (double value : {0.5, 0.51}) {
    auto inst = Create();
    ASSERT_TRUE(inst);
    Runner run;
    run.config.symbolicSampleSize = kSample64;
    run.params = {{kBypassId, value}};
    const auto out = run.Process(*inst, in);
    double maxDiff = 0;
    for (int c = 0; c < 2; ++c)
      for (size_t i = 0; i < in[c].size(); ++i) maxDiff = std::max(maxDiff, std::fabs(out[c][i] - in[c][i]));
    if (value > 0.5) {
      EXPECT_EQ(maxDiff, 0.0);
    } else {
      EXPECT_GT(maxDiff, 1e-3);
    }
  }
}

TEST_F(Bundle, OnlyTheLastPointOfAQueueApplies) {
  const auto in = Sine(1024, 0.3);
  auto a = Create();
  auto b = Create();
  ASSERT_TRUE(a && b);
  ProcessConfig config;
  config.symbolicSampleSize = kSample64;
  std::vector<std::vector<double>> outA(2, std::vector<double>(512)), outB = outA;
  {
    BlockProcessor pa(*a), pb(*b);
    std::string error;
    ASSERT_TRUE(pa.start(config, &error)) << error;
    ASSERT_TRUE(pb.start(config, &error)) << error;
    pa.queueParameter(kMakeUpGain, 0.9, 0);
    pa.queueParameter(kMakeUpGain, 1.0, 100);
    pa.queueParameter(kMakeUpGain, 0.2, 300);
    pb.queueParameter(kMakeUpGain, 0.2, 0);
    const double* inPtr[2] = {in[0].data(), in[1].data()};
    double* pA[2] = {outA[0].data(), outA[1].data()};
    double* pB[2] = {outB[0].data(), outB[1].data()};
    ASSERT_TRUE(pa.process(inPtr, nullptr, pA, 512, &error));
    ASSERT_TRUE(pb.process(inPtr, nullptr, pB, 512, &error));
  }
  EXPECT_EQ(outA, outB);
  EXPECT_DOUBLE_EQ(a->controller()->getParamNormalized(kMakeUpGain), 0.2);
}

TEST_F(Bundle, SidechainIsSilentUntilTheHostActivatesIt) {
  const auto quiet = Sine(24000, 0.02);
  const auto loud = Sine(24000, 0.9, 700.0);
  double level[2] = {0, 0};
  for (int active = 0; active < 2; ++active) {
    auto inst = Create();
    ASSERT_TRUE(inst);
    Runner run;
    run.config.sidechain = active != 0;
    run.params = {{kExternalSidechain, 1.0}, {kThreshold, 0.0}, {kRatio, 1.0}};
    const auto out = run.Process(*inst, quiet, &loud);
    level[active] = Rms(out[0], 12000);
  }
  EXPECT_GT(level[0], 0.5 * Rms(quiet[0], 12000));
  EXPECT_LT(level[1], 0.25 * level[0]);
}

TEST_F(Bundle, SingleAndDoublePrecisionAgree) {
  auto in = Sine(4096, 0.7, 440.0);
  for (size_t i = 0; i < in[1].size(); ++i) in[1][i] *= 0.5;
  std::vector<std::vector<double>> out[2];
  for (int wide = 0; wide < 2; ++wide) {
    auto inst = Create();
    ASSERT_TRUE(inst);
    Runner run;
    run.config.symbolicSampleSize = wide ? kSample64 : kSample32;
    run.params = {{kThreshold, 0.3}, {kRatio, 0.6}};
    out[wide] = run.Process(*inst, in);
  }
  double maxDiff = 0;
  for (int c = 0; c < 2; ++c)
    for (size_t i = 0; i < in[c].size(); ++i)
      maxDiff = std::max(maxDiff, std::fabs(out[0][c][i] - out[1][c][i]));
  EXPECT_LT(maxDiff, 1e-5);
}

TEST_F(Bundle, ArrangementsAndSampleSizes) {
  auto inst = Create();
  ASSERT_TRUE(inst);
  IAudioProcessor* proc = inst->processor();
  SpeakerArrangement in[2] = {arrangements::kStereo, arrangements::kStereo};
  SpeakerArrangement out[1] = {arrangements::kStereo};
  EXPECT_EQ(proc->setBusArrangements(in, 2, out, 1), kResultOk);
  const auto inputs = inst->busses(kAudio, kInput);
  ASSERT_EQ(inputs.size(), 2u);
  EXPECT_EQ(inputs[0].name, "Main Input");
  EXPECT_EQ(inputs[1].name, "Aux Input");
  EXPECT_EQ(inputs[1].busType, kAux);
  EXPECT_EQ(inst->busses(kAudio, kOutput).at(0).name, "Output");
  EXPECT_EQ(proc->setBusArrangements(in, 1, out, 1), kResultFalse);
  EXPECT_EQ(proc->canProcessSampleSize(2), kResultFalse);
  EXPECT_EQ(proc->canProcessSampleSize(kSample64), kResultOk);
  // The editor itself is driven by the editor end-to-end tests.
  IPlugView* view = inst->controller()->createView("editor");
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->release(), 0u);
}
