// Parameter flow: the order of the calls between parameters, DSP hook, editor and host, and the
// other virtual hooks' base behaviour.
#include "framework/Version.h"
#include "support/FakePlugin.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
void InitParams(FakePlugin& p) {
  p.GetParam(0)->InitInt("Steps", 0, 0, 9);
  p.GetParam(1)->InitDouble("Gain", 0.0, -10.0, 10.0, 0.1);
  p.GetParam(2)->InitBool("Switch", true);
}
}  // namespace

TEST(ParamFlow, EditorChangeSetsInformsWithTheSentValueThenNotifies) {
  FakePlugin p(FakePlugin::Bare());
  InitParams(p);
  p.SetParameterFromGUI(0, 0.5);
  EXPECT_EQ(p.GetParam(0)->GetValue(), 5.0);
  EXPECT_EQ(p.log, (Calls{"inform 0 0.5", "change 0"}));

  p.log.clear();
  p.SetParameterFromGUI(17, 0.5);  // invalid index: nothing happens
  EXPECT_TRUE(p.log.empty());
}

TEST(ParamFlow, ResetDirtyAndRedrawVisitEveryIndexInOrder) {
  FakePlugin p(FakePlugin::Bare());
  InitParams(p);
  p.OnParamReset();
  EXPECT_EQ(p.log, (Calls{"change 0", "change 1", "change 2"}));

  p.log.clear();
  p.DirtyParameters();
  EXPECT_EQ(p.log, (Calls{"inform 0 0", "inform 1 0.5", "inform 2 1"}));

  // Without an editor nothing is redrawn; with one every control gets its plain value.
  p.log.clear();
  p.RedrawParamControls();
  EXPECT_TRUE(p.log.empty());
  p.AttachGraphics(new FakeEditor(&p.log));
  p.log.clear();
  p.GetParam(1)->SetValue(-2.5);
  p.RedrawParamControls();
  EXPECT_EQ(p.log, (Calls{"gfx 0 0 p", "gfx 1 -2.5 p", "gfx 2 1 p"}));

  FakePlugin none(FakePlugin::Bare("2-2", 0));
  none.DirtyParameters();
  none.OnParamReset();
  EXPECT_TRUE(none.log.empty());
}

TEST(ParamFlow, AttachGraphicsPushesNormalizedValuesThenPreparesAndOwns) {
  bool firstGone = false, secondGone = false;
  {
    FakePlugin p(FakePlugin::Bare());
    InitParams(p);
    p.AttachGraphics(nullptr);
    EXPECT_EQ(p.GetGraphics(), nullptr);

    auto* g = new FakeEditor(&p.log, &firstGone);
    p.AttachGraphics(g);
    EXPECT_EQ(p.GetGraphics(), g);
    EXPECT_EQ(p.log, (Calls{"gfx 0 0 n", "gfx 1 0.5 n", "gfx 2 1 n", "prep"}));

    // A replacement editor frees the previous one.
    p.AttachGraphics(new FakeEditor(&p.log, &secondGone));
    EXPECT_TRUE(firstGone);
    EXPECT_FALSE(secondGone);
  }
  EXPECT_TRUE(secondGone);
}

TEST(ParamFlow, HooksAndHelpersHaveTheirBaseBehaviour) {
  FakePlugin p(FakePlugin::Bare());
  EXPECT_STREQ(p.GetAPIString(), "VST3");
  EXPECT_STREQ(IPlugin::GetArchString(), "x64");
  EXPECT_EQ(p.GetHost(), kHostUninit);
  EXPECT_FALSE(p.HostRequestingAboutBox());
  EXPECT_FALSE(p.IsRenderingOffline());
  char note[8] = "x";
  EXPECT_FALSE(p.MidiNoteName(60, note));
  EXPECT_STREQ(note, "");
  EXPECT_FALSE(p.SendSysEx(nullptr));
  EXPECT_EQ(p.GetSampleRate(), 44100.0);
  EXPECT_EQ(p.GetBlockSize(), 0);
  EXPECT_EQ(p.GetCurrentPresetIndex(), 0);
  EXPECT_EQ(p.GetPresetCount(), 1);
  EXPECT_EQ(p.GetParam(3), nullptr);
  EXPECT_EQ(p.GetParam(-1), nullptr);

  p.SetSampleRate(48000.0);
  EXPECT_DOUBLE_EQ(p.GetSamplesPerBeat(), 24000.0);
  p.tempo = 0.0;
  EXPECT_EQ(p.GetSamplesPerBeat(), 0.0);

  // Reset, OnParamChange and OnActivate take the lock, which another holder must not block for
  // the same thread.
  RecursiveMutexLock lock(p.GetMutex());
  p.Reset();
  p.OnActivate(true);

  p.log.clear();
  IMidiMsg msg;
  msg.MakeNoteOnMsg(60, 100, 0);
  p.ProcessMidiMsg(&msg);
  EXPECT_EQ(p.log, (Calls{"midi 60"}));

  IMidiMsg a, b, c;
  a.MakeNoteOnMsg(61, 1, 0);
  b.MakeNoteOffMsg(0, 0);  // the double refuses note 0
  c.MakeNoteOnMsg(62, 1, 0);
  TypedBuf<IMidiMsg*> list;
  IMidiMsg** slots = list.Resize(3);
  slots[0] = &a;
  slots[1] = &b;
  slots[2] = &c;
  p.log.clear();
  EXPECT_FALSE(p.SendMidiMsgs(&list));
  EXPECT_EQ(p.log, (Calls{"midi 61", "midi 0", "midi 62"}));
  list.Resize(0);
  EXPECT_TRUE(p.SendMidiMsgs(&list));
}

TEST(ParamFlow, NamesAreCutTo127Characters) {
  const std::string longName(300, 'z');
  class LongPlug : public IPlugin {
   public:
    explicit LongPlug(const char* n)
        : IPlugin(0, "2-2", 0, n, n, n, 0x00020A03, 1, 2, 0, true, true, true, kAPISA) {}
    void BeginInformHostOfParamChange(int) override {}
    void InformHostOfParamChange(int, double) override {}
    void EndInformHostOfParamChange(int) override {}
    void InformHostOfProgramChange() override {}
    double GetSamplePos() override { return 0; }
    double GetTempo() override { return 0; }
    void GetTimeSig(int*, int*) override {}
    void GetTime(ITimeInfo*) override {}
    void ResizeGraphics(int, int) override {}
    bool SendMidiMsg(IMidiMsg*) override { return false; }
  };
  LongPlug p(longName.c_str());
  EXPECT_EQ(std::string(p.GetEffectName()), longName.substr(0, 127));
  EXPECT_EQ(std::string(p.GetProductName()), longName.substr(0, 127));
  EXPECT_EQ(std::string(p.GetMakerName()), longName.substr(0, 127));
  EXPECT_TRUE(p.DoesMidi());
  EXPECT_TRUE(p.DoesStateChunks());
  EXPECT_TRUE(p.IsInstrument());
  EXPECT_STREQ(p.GetAPIString(), "Standalone");
  EXPECT_EQ(p.GetEffectVersion(true), 21003);
  char v[kVersionStrSize];
  p.GetEffectVersionStr(v);
  EXPECT_STREQ(v, "v2.10.3");

  LongPlug nullNames(nullptr);
  EXPECT_STREQ(nullNames.GetEffectName(), "");
}
