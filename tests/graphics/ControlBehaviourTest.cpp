// How the value controls answer presses, drags, wheels and plug-in values, and how they lay out
// their hit areas. Film strips here have no pixels, as after a failed load: the controls must
// still take input.
#include "graphics/GraphicsTestSupport.h"
#include "graphics/controls/IFaderControl.h"
#include "graphics/controls/IKnobControls.h"
#include "graphics/controls/IRadioButtonsControl.h"
#include "graphics/controls/ISwitchControls.h"

#include <gtest/gtest.h>

namespace {
IMouseMod kLeft(true), kRight(false, true), kShift(true, false, true);

IBitmap Strip(int w, int h, int n) { return IBitmap(nullptr, w, h, n); }

template <class C>
std::vector<double> Presses(C& c, int n, int x = 1, int y = 1) {
  std::vector<double> seen;
  for (int i = 0; i < n; ++i, seen.push_back(c.GetValue())) c.OnMouseDown(x, y, &kLeft);
  return seen;
}
}  // namespace

TEST(Switches, StepWrapToggleAndFramePicking) {
  IBitmap three = Strip(30, 30, 3), one = Strip(10, 10, 1);
  ISwitchControl sw(nullptr, 0, 0, -1, &three);
  EXPECT_EQ(Presses(sw, 4), (std::vector<double>{0.5, 1.0, 0.0, 0.5}));
  ISwitchControl single(nullptr, 0, 0, -1, &one);
  EXPECT_EQ(Presses(single, 2), (std::vector<double>{1.0, 0.0}));
  IInvisibleSwitchControl invisible(nullptr, IRECT(0, 0, 10, 10), -1);
  EXPECT_EQ(Presses(invisible, 2), (std::vector<double>{1.0, 0.0}));

  ISwitchFramesControl frames(nullptr, 5, 5, -1, &three, true);
  EXPECT_EQ(frames.GetFrameRects()[0], IRECT(5, 5, 15, 15));
  EXPECT_EQ(frames.GetFrameRects()[2], IRECT(25, 5, 35, 15));
  EXPECT_EQ(Presses(frames, 1, 27, 8), std::vector<double>{1.0});
  EXPECT_EQ(Presses(frames, 1, 40, 8), std::vector<double>{1.0}) << "outside every frame";
  IBitmap missing(nullptr, 0, 0, 3);
  EXPECT_EQ(*ISwitchControl(nullptr, 4, 6, -1, &missing).GetRECT(), IRECT(4, 6, 4, 6));
  ISwitchFramesControl oneFrame(nullptr, 0, 0, -1, &one);
  oneFrame.SetValue(0.7);
  EXPECT_EQ(Presses(oneFrame, 1, 5, 5), std::vector<double>{0.0});
}

TEST(ControlValues, PlugValuesDefaultsAndClamp) {
  EditorFixture ed;
  IBitmap strip = Strip(20, 40, 2);
  IBitmapControl* c = new IBitmapControl(&ed.plug, 0, 0, -1, &strip);
  ed.gui->AttachControl(c);
  ed.Attach();
  c->OnMouseDblClick(0, 0, &kLeft);  // no default learned yet
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.0);
  c->SetClean();
  c->SetValueFromPlug(0.3);
  c->SetValueFromPlug(0.3);
  EXPECT_FALSE(c->IsDirty());
  c->SetValueFromPlug(0.6);
  c->SetClean();
  EXPECT_TRUE(c->IsDirty()) << "a plug-in change is drawn twice";
  c->OnMouseDblClick(0, 0, &kLeft);
  EXPECT_DOUBLE_EQ(c->GetValue(), 0.3);

  c->SetValue(1.5);
  c->SetDirty(true);
  EXPECT_DOUBLE_EQ(c->GetValue(), 1.0);
  EXPECT_TRUE(ed.plug.log.empty()) << "no parameter: nothing reaches the plug-in";
}

TEST(Knobs, DragGearingWheelClampAndFlatRectangles) {
  EditorFixture ed;
  ed.plug.GetParam(1)->InitDouble("Gain", 0.0, -10.0, 10.0, 0.5, "dB");
  IBitmap strip = Strip(30, 400, 10);  // 30 x 40 frames
  IKnobMultiControl* knob = new IKnobMultiControl(&ed.plug, 0, 0, 1, &strip);
  ed.gui->AttachControl(knob);
  ed.Attach();

  knob->OnMouseDrag(0, 0, 0, 10, &kLeft);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.5 - 0.0625);
  EXPECT_EQ(ed.plug.log.front(), "inform 1 0.4375");
  knob->OnMouseDrag(0, 0, 50, 10, &kShift);  // sideways motion is ignored
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.4375 - 0.00625);
  knob->SetValue(0.5);
  knob->OnMouseWheel(0, 0, &kLeft, 3);
  knob->OnMouseWheel(0, 0, &kShift, -3);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.527);

  knob->Clamp(0.2, 0.8);
  knob->OnMouseDrag(0, 0, 0, -1000, &kLeft);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.8);
  knob->OnMouseDrag(0, 0, 0, 1000, &kLeft);
  EXPECT_DOUBLE_EQ(knob->GetValue(), 0.2);

  IKnobLineControl flat(nullptr, IRECT(0, 10, 40, 10), -1, &COLOR_WHITE);
  IKnobLineControl thin(nullptr, IRECT(5, 0, 5, 40), -1, &COLOR_WHITE, 0, 0, -2, 2, kHorizontal);
  flat.OnMouseDrag(0, 0, 0, 10, &kLeft);
  thin.OnMouseDrag(0, 0, 10, 0, &kLeft);
  EXPECT_DOUBLE_EQ(flat.GetValue() + thin.GetValue(), 0.0);
}

TEST(RadioButtons, LayoutInEveryOrientationAndPicking) {
  IBitmap button = Strip(20, 40, 2);  // 20 x 20 frames
  const IRECT column(0, 0, 20, 100), row(0, 0, 100, 20);
  IRadioButtonsControl down(nullptr, column, -1, 3, &button);
  IRadioButtonsControl up(nullptr, column, -1, 3, &button, kVertical, true);
  IRadioButtonsControl right(nullptr, row, -1, 3, &button, kHorizontal);
  IRadioButtonsControl left(nullptr, row, -1, 3, &button, kHorizontal, true);
  EXPECT_EQ(down.GetButtonRects()[1], IRECT(0, 40, 20, 60));
  EXPECT_EQ(up.GetButtonRects()[2], IRECT(0, 0, 20, 20)) << "reversed stays inside the control";
  EXPECT_EQ(right.GetButtonRects()[2], IRECT(80, 0, 100, 20));
  EXPECT_EQ(left.GetButtonRects()[0], IRECT(80, 0, 100, 20));

  EXPECT_EQ(Presses(down, 1, 5, 45), std::vector<double>{0.5});
  EXPECT_EQ(Presses(down, 1, 5, 30), std::vector<double>{0.5}) << "between buttons";
  down.OnMouseDown(5, 85, &kRight);
  EXPECT_DOUBLE_EQ(down.GetValue(), 0.5) << "the right button only prompts";
  IRadioButtonsControl single(nullptr, column, -1, 1, &button);
  single.SetValue(1.0);
  EXPECT_EQ(Presses(single, 1, 5, 5), std::vector<double>{0.0});
}

TEST(Fader, SnapsToThePointerAndHitsOnlyItsHandle) {
  IBitmap handle = Strip(20, 10, 1);
  IFaderControl fader(nullptr, 0, 0, 100, -1, &handle, kVertical, true);
  EXPECT_EQ(Presses(fader, 1, 5, 50), std::vector<double>{0.5});
  EXPECT_EQ(fader.GetHandleRECT(), IRECT(0, 45, 20, 55));
  EXPECT_TRUE(fader.IsHit(10, 50));
  EXPECT_FALSE(fader.IsHit(10, 10));
  IFaderControl across(nullptr, 10, 0, 100, -1, &handle, kHorizontal);
  EXPECT_EQ(Presses(across, 1, 60, 5), std::vector<double>{0.5});

  IFaderControl stuck(nullptr, 0, 0, 10, -1, &handle);  // handle as long as the track
  stuck.SetValue(0.25);
  EXPECT_EQ(Presses(stuck, 1, 5, 9), std::vector<double>{0.25});
}
