// Input dispatch: which control an event reaches, the host calls a press, drag and release make,
// and the value prompts.
#include "graphics/GraphicsTestSupport.h"
#include "graphics/controls/IKnobControls.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
IMouseMod kLeft(true), kRight(false, true), kShiftLeft(true, false, true);

// Records the events it receives as "name x y".
class ProbeControl : public IControl {
 public:
  ProbeControl(IPlugin* plug, const IRECT& rect, Calls* events, const char* name, int paramIdx = -1)
      : IControl(plug, rect, paramIdx), mEvents(events), mName(name) {}
  void OnMouseDown(int x, int y, IMouseMod* mod) override {
    Add("down", x, y);
    IControl::OnMouseDown(x, y, mod);
  }
  void OnMouseUp(int x, int y, IMouseMod*) override { Add("up", x, y); }
  void OnMouseDrag(int x, int y, int dX, int dY, IMouseMod*) override {
    Add("drag", x, y);
    mEvents->push_back("delta " + std::to_string(dX) + " " + std::to_string(dY));
  }
  void OnMouseDblClick(int x, int y, IMouseMod*) override { Add("dbl", x, y); }
  void OnMouseWheel(int x, int y, IMouseMod*, int) override { Add("wheel", x, y); }
  bool OnKeyDown(int x, int y, int) override {
    Add("key", x, y);
    return takesKeys;
  }
  void OnMouseOver(int x, int y, IMouseMod*) override { Add("over", x, y); }
  void OnMouseOut() override { mEvents->push_back(mName + " out"); }
  bool Draw(IGraphics*) override { return true; }

  bool takesKeys = true;

 private:
  void Add(const char* what, int x, int y) {
    mEvents->push_back(mName + " " + what + " " + std::to_string(x) + " " + std::to_string(y));
  }
  Calls* mEvents;
  std::string mName;
};

// A parameter editor: a background and a 40 x 40 knob on a double parameter (-10..10 dB, 0.5 dB
// steps, so 0.5 dB is 1/40 normalized) at (0, 0).
struct KnobEditor : EditorFixture {
  IBitmap strip{nullptr, 40, 400, 10};
  IKnobMultiControl* knob;

  explicit KnobEditor(bool hostTakesContextClick = true) : EditorFixture(4, 200, 100, hostTakesContextClick) {
    plug.GetParam(1)->InitDouble("Gain", 0.0, -10.0, 10.0, 0.5, "dB");
    gui->AttachPanelBackground(&COLOR_BLACK);
    knob = new IKnobMultiControl(&plug, 0, 0, 1, &strip);
    gui->AttachControl(knob);
    Attach();
  }
};
}  // namespace

TEST(EngineInput, KnobTurnBeginsSetsInformsAndEndsAGesture) {
  KnobEditor ed;
  ed.gui->OnMouseDown(10, 10, &kLeft);
  EXPECT_EQ(ed.gui->GetMouseCapture(), 1);
  // Up by 8 pixels on a 40-pixel knob with gearing 4 raises by 0.05; the same spot again is no step.
  ed.gui->OnMouseDrag(10, 2, &kLeft);
  ed.gui->OnMouseDrag(10, 2, &kLeft);
  ed.gui->OnMouseUp(10, 2, &kLeft);
  EXPECT_EQ(ed.plug.log, (Calls{"begin 1", "inform 1 0.55", "change 1", "end 1"}));
  EXPECT_EQ(ed.gui->GetMouseCapture(), -1);
  EXPECT_DOUBLE_EQ(ed.plug.GetParam(1)->GetValue(), 1.0);

  // A double click restores the first value the plug-in sent, with no gesture around it.
  ed.plug.log.clear();
  EXPECT_FALSE(ed.gui->OnMouseDblClick(10, 10, &kLeft));
  EXPECT_EQ(ed.plug.log, (Calls{"inform 1 0.5", "change 1"}));

  // Wheel: one notch is 0.01, 0.001 with shift.
  ed.plug.log.clear();
  ed.gui->OnMouseWheel(10, 10, &kLeft, 1);
  ed.gui->OnMouseWheel(10, 10, &kShiftLeft, -1);
  EXPECT_EQ(ed.plug.log, (Calls{"inform 1 0.51", "change 1", "inform 1 0.509", "change 1"}));
}

TEST(EngineInput, RightClickOnAParameterGoesToTheHostWhenItTakesIt) {
  KnobEditor hosted;
  hosted.gui->OnMouseDown(12, 7, &kRight);
  hosted.gui->OnMouseUp(12, 7, &kRight);  // nothing began, so nothing ends
  EXPECT_EQ(hosted.plug.log, (Calls{"popup 1 12 7"}));
  EXPECT_EQ(hosted.gui->GetMouseCapture(), -1);
  EXPECT_DOUBLE_EQ(hosted.knob->GetValue(), 0.5);

  // Otherwise the control gets the click, and with prompting on it asks for a value.
  KnobEditor standalone(false);
  standalone.knob->DisablePrompt(false);
  standalone.gui->OpenWindow(nullptr);
  standalone.gui->OnMouseDown(12, 7, &kRight);
  EXPECT_EQ(standalone.plug.log, (Calls{"begin 1"}));
  ASSERT_TRUE(standalone.gui->TextEntryOpen());
  EXPECT_EQ(standalone.gui->LastTextEntry().mText, "0.0");
  EXPECT_EQ(standalone.gui->LastTextEntry().mRect, IRECT(0, 12, 40, 28));
}

TEST(EngineInput, TopmostShownUngrayedControlReceivesEachEvent) {
  EditorFixture ed;
  Calls ev;
  ed.gui->AttachControl(new ProbeControl(&ed.plug, IRECT(0, 0, 200, 100), &ev, "bg"));
  auto* below = new ProbeControl(&ed.plug, IRECT(0, 0, 50, 50), &ev, "below");
  auto* above = new ProbeControl(&ed.plug, IRECT(20, 20, 70, 70), &ev, "above");
  ed.gui->AttachControl(below);
  ed.gui->AttachControl(above);
  ed.Attach();

  ed.gui->OnMouseDown(30, 30, &kLeft);
  ed.gui->OnMouseDrag(33, 28, &kLeft);
  ed.gui->OnMouseUp(80, 80, &kLeft);  // released off the control: still the captured one's
  EXPECT_EQ(ev, (Calls{"above down 30 30", "above drag 33 28", "delta 3 -2", "above up 80 80"}));

  ev.clear();
  above->Hide(true);
  ed.gui->OnMouseDown(30, 30, &kLeft);
  ed.gui->OnMouseUp(30, 30, &kLeft);
  ed.gui->OnMouseWheel(30, 30, &kLeft, 1);
  above->Hide(false);
  above->GrayOut(true);
  EXPECT_TRUE(ed.gui->OnKeyDown(30, 30, 15));
  below->GrayOut(true);
  ed.gui->OnMouseDown(30, 30, &kLeft);
  ed.gui->OnMouseUp(30, 30, &kLeft);
  EXPECT_EQ(ev, (Calls{"below down 30 30", "below up 30 30", "below wheel 30 30", "below key 30 30",
                       "bg down 30 30", "bg up 30 30"}));

  // Without a capture nothing drags; a double click that is a press captures.
  ev.clear();
  ed.gui->OnMouseDrag(1, 1, &kLeft);
  below->GrayOut(false);
  below->SetDblAsSingleClick(true);
  EXPECT_TRUE(ed.gui->OnMouseDblClick(5, 5, &kLeft));
  EXPECT_EQ(ed.gui->GetMouseCapture(), 1);
  EXPECT_FALSE(ed.gui->OnMouseDblClick(200, 200, &kLeft));
  EXPECT_EQ(ed.gui->GetMouseCapture(), -1);
  EXPECT_EQ(ev, (Calls{"below down 5 5"}));
  EXPECT_TRUE(ed.plug.log.empty());
}

TEST(EngineInput, KeysGoToTheControlUnderThePointerOrElseTheKeyCatcher) {
  EditorFixture ed;
  Calls ev;
  ed.gui->AttachControl(new ProbeControl(&ed.plug, IRECT(0, 0, 200, 100), &ev, "bg"));
  auto* declines = new ProbeControl(&ed.plug, IRECT(10, 10, 20, 20), &ev, "ctl");
  declines->takesKeys = false;
  ed.gui->AttachControl(declines);
  ed.Attach();

  EXPECT_FALSE(ed.gui->OnKeyDown(50, 50, 0));  // background, no catcher
  EXPECT_FALSE(ed.gui->OnKeyDown(300, 300, 0));
  auto* catcher = new ProbeControl(&ed.plug, IRECT(), &ev, "catcher");
  ed.gui->AttachKeyCatcher(catcher);
  EXPECT_TRUE(ed.gui->OnKeyDown(50, 50, 1));
  EXPECT_TRUE(ed.gui->OnKeyDown(300, 300, 2));
  EXPECT_FALSE(ed.gui->OnKeyDown(15, 15, 3));  // declined, and the catcher is not asked
  EXPECT_EQ(ev, (Calls{"catcher key 50 50", "catcher key 300 300", "ctl key 15 15"}));
}

TEST(EngineInput, MouseOverFollowsThePointerOnlyWhenEnabled) {
  EditorFixture ed;
  Calls ev;
  auto* a = new ProbeControl(&ed.plug, IRECT(0, 0, 10, 10), &ev, "a");
  auto* b = new ProbeControl(&ed.plug, IRECT(10, 0, 20, 10), &ev, "b");
  ed.gui->AttachControl(a);
  ed.gui->AttachControl(b);
  ed.Attach();

  EXPECT_FALSE(ed.gui->OnMouseOver(5, 5, nullptr));
  EXPECT_TRUE(ev.empty());
  ed.gui->HandleMouseOver(true);
  b->GrayOut(true);
  b->SetMOWhenGrayed(true);
  EXPECT_TRUE(ed.gui->OnMouseOver(5, 5, nullptr));
  EXPECT_TRUE(ed.gui->OnMouseOver(15, 5, nullptr));
  EXPECT_TRUE(ed.gui->OnMouseOver(50, 50, nullptr));  // over nothing: nothing changes
  EXPECT_EQ(ed.gui->GetMouseOver(), 1);
  ed.gui->OnMouseOut();
  EXPECT_EQ(ed.gui->GetMouseOver(), -1);
  EXPECT_EQ(ev, (Calls{"a over 5 5", "b over 15 5", "a out", "a out", "b out"}));
}

TEST(EngineInput, AutomationQueriesSkipTheBackground) {
  KnobEditor ed;
  EXPECT_EQ(ed.gui->GetParamIdxForPTAutomation(100, 50), -1);
  EXPECT_EQ(ed.gui->GetParamIdxForPTAutomation(5, 5), 1);
  EXPECT_EQ(ed.gui->GetLastClickedParamForPTAutomation(), 1);
  EXPECT_EQ(ed.gui->GetLastClickedParamForPTAutomation(), -1);
}

TEST(EngineInput, MenuPromptForAChoiceParameter) {
  EditorFixture ed;
  IParam* mode = ed.plug.GetParam(2);
  mode->InitEnum("Mode", 1, 3);
  mode->SetDisplayText(0, "Soft");
  mode->SetDisplayText(1, "Medium");
  mode->SetDisplayText(2, "Hard");
  IBitmap face(nullptr, 20, 20, 1);
  auto* ctl = new IKnobMultiControl(&ed.plug, 0, 0, 2, &face);
  ed.gui->AttachControl(ctl);
  ed.Attach();
  ed.gui->OpenWindow(nullptr);
  IRECT at(1, 2, 3, 4);

  ed.gui->QueueMenuChoice(IGraphicsHeadless::kDismissMenu);
  ed.gui->QueueMenuChoice(2);
  ed.gui->PromptUserInput(ctl, mode, &at);
  ASSERT_EQ(ed.gui->Menus().size(), 1u);
  EXPECT_EQ(ed.gui->Menus()[0].mItems, (std::vector<std::string>{"Soft", "Medium", "Hard"}));
  EXPECT_EQ(ed.gui->Menus()[0].mChecked, 1);
  EXPECT_EQ(ed.gui->Menus()[0].mRect, at);
  EXPECT_TRUE(ed.plug.log.empty());  // dismissed: nothing changes

  ed.gui->PromptUserInput(ctl, mode, &at);
  EXPECT_DOUBLE_EQ(mode->GetValue(), 2.0);
  EXPECT_EQ(ed.plug.log, (Calls{"inform 2 1", "change 2"}));
  EXPECT_FALSE(ed.gui->TextEntryOpen());

  // Typed text for a choice is matched against the display texts; anything else is 0.
  ed.gui->SetFromStringAfterPrompt(ctl, mode, "Medium");
  EXPECT_DOUBLE_EQ(mode->GetValue(), 1.0);
  ed.gui->SetFromStringAfterPrompt(ctl, mode, "Loud");
  EXPECT_DOUBLE_EQ(mode->GetValue(), 0.0);
}

TEST(EngineInput, TypedTextSetsADoubleParameter) {
  KnobEditor ed;
  IParam* gain = ed.plug.GetParam(1);
  ed.gui->OpenWindow(nullptr);
  auto type = [&](const char* text) {
    IRECT at(0, 0, 40, 16);
    ed.gui->PromptUserInput(ed.knob, gain, &at);
    EXPECT_TRUE(ed.gui->TypeIntoTextEntry(text));
    return gain->GetValue();
  };
  EXPECT_DOUBLE_EQ(type("2.5 dB"), 2.5);
  EXPECT_EQ(ed.gui->LastTextEntry().mParam, gain);
  EXPECT_DOUBLE_EQ(type("abc"), 0.0);
  EXPECT_DOUBLE_EQ(type("-4"), -4.0);
  // Non-finite numbers count as no number.
  for (const char* bad : {"nan", "inf", "-1e999"}) {
    type("3");
    EXPECT_DOUBLE_EQ(type(bad), 0.0) << bad;
  }
  gain->SetNegateDisplay(true);
  EXPECT_DOUBLE_EQ(type("3"), -3.0);

  // Without a parameter nothing is set.
  ed.plug.log.clear();
  ed.gui->SetFromStringAfterPrompt(ed.knob, nullptr, "5");
  ed.gui->PromptUserInput(ed.knob, nullptr, nullptr);
  EXPECT_TRUE(ed.plug.log.empty());
  EXPECT_FALSE(ed.gui->TextEntryOpen());
}

TEST(EngineInput, PlugInValuesReachBoundAndAuxiliaryControlsWhenFinite) {
  KnobEditor ed;
  auto* follower = new IKnobMultiControl(&ed.plug, 50, 0, 3, &ed.strip);
  follower->AddAuxParam(1);
  ed.gui->AttachControl(follower);

  ed.gui->SetParameterFromPlug(1, 5.0, false);  // plain dB, converted by the parameter
  EXPECT_DOUBLE_EQ(ed.knob->GetValue(), 0.75);
  EXPECT_DOUBLE_EQ(follower->GetAuxParam(0)->mValue.load(), 0.75);
  ed.gui->SetParameterFromPlug(1, std::nan(""), true);
  ed.gui->SetParameterFromPlug(1, std::nan(""), false);
  ed.gui->SetParameterFromPlug(99, 0.1, false);
  EXPECT_DOUBLE_EQ(ed.knob->GetValue(), 0.75);

  // A clamp range in plain units holds the value at the next change.
  ed.gui->ClampControl(1, -5.0, 5.0, false);
  ed.gui->SetParameterFromPlug(1, 9.0, false);
  EXPECT_DOUBLE_EQ(ed.knob->GetValue(), 0.75);
  ed.gui->SetParameterFromPlug(1, -9.0, false);
  EXPECT_DOUBLE_EQ(ed.knob->GetValue(), 0.25);

  ed.gui->SetControlFromPlug(2, 0.25);
  ed.gui->SetControlFromPlug(3, 0.5);
  ed.gui->SetControlFromPlug(-1, 0.5);
  EXPECT_DOUBLE_EQ(follower->GetValue(), 0.25);
  EXPECT_TRUE(ed.plug.log.empty());
}
