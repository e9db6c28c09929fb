// The Linux window's display-free rules: key codes, mouse modifiers, click counting, the value
// prompt's editing and filtering, popup menu layout and navigation, path helpers.
#include "framework/IParam.h"
#include "graphics/platform/shared/EditorKey.h"
#include "graphics/platform/shared/PopupMenuModel.h"
#include "graphics/platform/shared/TextEntryModel.h"
#include "graphics/platform/x11/LinuxPaths.h"
#include "graphics/platform/x11/PointerInput.h"
#include "graphics/platform/x11/UrlOpener.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

namespace {
using Outcome = TextEntryModel::EOutcome;
using Nav = PopupMenuNavigator::EOutcome;

EditorKey Key(ENamedKey k) { return EditorKey::Named(k); }
EditorKey Char(char c) { return EditorKey::Char(c); }

TEST(X11InputModel, KeyCodesCoverSpaceArrowsDigitsAndLettersOnly) {
  EXPECT_EQ(EditorKeyCode(Char(' ')), 0);
  EXPECT_EQ(EditorKeyCode(Key(ENamedKey::kUp)), 1);
  EXPECT_EQ(EditorKeyCode(Key(ENamedKey::kDown)), 2);
  EXPECT_EQ(EditorKeyCode(Key(ENamedKey::kLeft)), 3);
  EXPECT_EQ(EditorKeyCode(Key(ENamedKey::kRight)), 4);
  EXPECT_EQ(EditorKeyCode(Char('0')), 5);
  EXPECT_EQ(EditorKeyCode(Char('9')), 14);
  EXPECT_EQ(EditorKeyCode(Char('q')), 31);
  EXPECT_EQ(EditorKeyCode(Char('Q')), 31);
  EXPECT_EQ(EditorKeyCode(Char('z')), 40);
  EXPECT_EQ(EditorKeyCode(Char('-')), -1);
  EXPECT_EQ(EditorKeyCode(Key(ENamedKey::kReturn)), -1);
  EXPECT_EQ(EditorKeyCode(EditorKey()), -1);
}

TEST(X11InputModel, ControlLeftClickIsAlsoARightClickButRightNeverSetsLeft) {
  ModifierKeys ctrl;
  ctrl.mControl = true;
  const IMouseMod left = MakeMouseMod(true, false, ctrl);
  EXPECT_TRUE(left.L && left.R && left.C);
  const IMouseMod right = MakeMouseMod(false, true, ctrl);
  EXPECT_TRUE(!right.L && right.R);
  ModifierKeys shiftAlt;
  shiftAlt.mShift = shiftAlt.mAlt = true;
  const IMouseMod plain = MakeMouseMod(true, false, shiftAlt);
  EXPECT_TRUE(plain.L && !plain.R && plain.S && plain.A && !plain.C);
}

TEST(X11InputModel, DoubleClickNeedsSameButtonNearbyWithin400ms) {
  ClickCounter c;
  EXPECT_EQ(c.Press(EPointerButton::kLeft, 10, 10, 1000), 1);
  EXPECT_EQ(c.Press(EPointerButton::kLeft, 14, 6, 1400), 2);
  EXPECT_EQ(c.Press(EPointerButton::kLeft, 14, 6, 1801), 1);  // 401 ms
  EXPECT_EQ(c.Press(EPointerButton::kLeft, 19, 6, 1900), 1);  // 5 px away
  EXPECT_EQ(c.Press(EPointerButton::kRight, 19, 6, 1950), 1);
  EXPECT_EQ(c.Press(EPointerButton::kLeft, 19, 6, 2000), 1);
  // The event clock wraps at 32 bits.
  EXPECT_EQ(c.Press(EPointerButton::kLeft, 0, 0, 0xFFFFFF00ul), 1);
  EXPECT_EQ(c.Press(EPointerButton::kLeft, 0, 0, 0x40ul), 2);
}

TEST(X11InputModel, TextEntryFiltersByParameterKindAndLimitsLength) {
  IParam d, i, b;
  d.InitDouble("d", 0.0, -10.0, 10.0, 0.1);
  i.InitInt("i", 0, 0, 10);
  b.InitBool("b", false);
  EXPECT_STREQ(TextEntryModel::FilterFor(&d), "0123456789.-+");
  EXPECT_STREQ(TextEntryModel::FilterFor(&i), "0123456789-+");
  EXPECT_STREQ(TextEntryModel::FilterFor(&b), "0123456789-+");
  EXPECT_EQ(TextEntryModel::FilterFor(nullptr), nullptr);

  TextEntryModel m;
  m.Reset("1.5", TextEntryModel::FilterFor(&i), 3);
  EXPECT_EQ(m.HandleKey(Char('x')), Outcome::kRejected);
  EXPECT_EQ(m.HandleKey(Char('.')), Outcome::kRejected);
  EXPECT_EQ(m.Text(), "1.5");
  // The first accepted character replaces the selected initial text.
  EXPECT_EQ(m.HandleKey(Char('-')), Outcome::kEdited);
  EXPECT_EQ(m.InsertText("42"), Outcome::kEdited);
  EXPECT_EQ(m.HandleKey(Char('7')), Outcome::kRejected);
  EXPECT_EQ(m.Text(), "-42");
  // A paste stops at the first character the filter refuses.
  m.Reset("", "0123456789", 0);
  EXPECT_EQ(m.InsertText("12a3"), Outcome::kEdited);
  EXPECT_EQ(m.Text(), "12");
}

TEST(X11InputModel, TextEntryCaretEditingAndEndings) {
  TextEntryModel m;
  m.Reset("123", nullptr, 0);
  EXPECT_EQ(m.HandleKey(Key(ENamedKey::kLeft)), Outcome::kEdited);  // collapses to the start
  EXPECT_EQ(m.Caret(), 0);
  m.HandleKey(Key(ENamedKey::kRight));
  m.HandleKey(Key(ENamedKey::kDelete));
  EXPECT_EQ(m.Text(), "13");
  m.HandleKey(Char('9'));
  m.HandleKey(Key(ENamedKey::kEnd));
  m.HandleKey(Key(ENamedKey::kBackSpace));
  EXPECT_EQ(m.Text(), "19");
  m.HandleKey(Key(ENamedKey::kHome));
  EXPECT_EQ(m.HandleKey(Key(ENamedKey::kBackSpace)), Outcome::kIgnored);
  EditorKey ctrlV = Char('v');
  ctrlV.mControl = true;
  EXPECT_EQ(m.HandleKey(ctrlV), Outcome::kIgnored);
  EXPECT_EQ(m.Text(), "19");
  EXPECT_EQ(m.HandleKey(Key(ENamedKey::kReturn)), Outcome::kCommit);
  EXPECT_EQ(m.HandleKey(Key(ENamedKey::kEscape)), Outcome::kCancel);
  // Backspace on the selected initial text clears it.
  m.Reset("55", nullptr, 0);
  m.HandleKey(Key(ENamedKey::kBackSpace));
  EXPECT_EQ(m.Text(), "");
}

PopupMenuMetrics Metrics() {
  PopupMenuMetrics m;
  m.mTextWidth = [](const char* s) { return static_cast<int>(std::strlen(s)) * 7; };
  return m;
}

TEST(X11InputModel, MenuLayoutLabelsAndSkipsUnselectableRows) {
  IPopupMenu menu;
  menu.AddItem("Alpha");
  menu.AddSeparator();
  menu.AddItem("Beta", -1, IPopupMenuItem::kDisabled);
  menu.AddItem("Gamma", -1, IPopupMenuItem::kTitle);
  menu.SetPrefix(2);
  PopupMenuLayout layout;
  const PopupMenuMetrics metrics = Metrics();
  layout.Build(menu, metrics);
  ASSERT_EQ(layout.Rows().size(), 4u);
  EXPECT_EQ(layout.Rows()[0].mLabel, "01: Alpha");
  EXPECT_EQ(layout.Rows()[3].mLabel, "04: Gamma");
  EXPECT_EQ(layout.Height(), 2 * metrics.mPadding + 3 * metrics.mRowHeight + metrics.mSeparatorHeight);
  EXPECT_EQ(layout.Width(), metrics.mCheckWidth + 9 * 7 + metrics.mTitleIndent + metrics.mArrowWidth);
  EXPECT_EQ(layout.RowAt(5, metrics.mPadding + metrics.mRowHeight + 2), 1);
  EXPECT_EQ(layout.RowAt(-1, metrics.mPadding), -1);
  // Down from Alpha passes the separator and the disabled item; titles can be chosen.
  EXPECT_EQ(layout.Step(0, 1), 3);
  EXPECT_EQ(layout.Step(3, 1), 0);
  EXPECT_EQ(layout.Step(-1, -1), 3);
}

TEST(X11InputModel, MenuPlacementStaysOnScreen) {
  int x = 0, y = 0;
  PlaceMenu(IRECT(100, 100, 150, 120), 80, 60, 1000, 800, &x, &y);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 124);
  PlaceMenu(IRECT(950, 760, 990, 780), 80, 60, 1000, 800, &x, &y);
  EXPECT_EQ(x, 920);
  EXPECT_EQ(y, 700);  // above the anchor
  PopupMenuRow row;
  row.mTop = 20;
  PlaceSubmenu(900, 100, 80, row, 70, 40, 1000, 800, &x, &y);
  EXPECT_EQ(x, 832);  // no room on the right
  EXPECT_EQ(y, 117);
}

struct MenuTree {
  IPopupMenu root, sub;
  MenuTree() {
    sub.AddItem("S1");
    sub.AddItem("S2");
    root.AddItem("A");
    root.AddItem("More", &sub);
    root.AddItem("C", -1, IPopupMenuItem::kDisabled);
  }
};

TEST(X11InputModel, MenuKeyboardNavigationChoosesOpensAndDismisses) {
  MenuTree t;
  PopupMenuNavigator nav;
  ASSERT_TRUE(nav.Start(&t.root, IRECT(0, 0, 10, 10), 1000, 800, Metrics()));
  EXPECT_EQ(nav.Key(Key(ENamedKey::kReturn)), Nav::kNone);  // nothing highlighted yet
  nav.Key(Key(ENamedKey::kDown));
  nav.Key(Key(ENamedKey::kDown));
  EXPECT_EQ(nav.Key(Key(ENamedKey::kReturn)), Nav::kChanged);
  ASSERT_EQ(nav.Levels().size(), 2u);
  EXPECT_EQ(nav.Levels()[1].mHighlight, 0);
  EXPECT_EQ(nav.Key(Key(ENamedKey::kLeft)), Nav::kChanged);
  EXPECT_EQ(nav.Levels().size(), 1u);
  nav.Key(Key(ENamedKey::kRight));
  nav.Key(Key(ENamedKey::kDown));
  EXPECT_EQ(nav.Key(Key(ENamedKey::kReturn)), Nav::kChosen);
  EXPECT_EQ(nav.ChosenMenu(), &t.sub);
  EXPECT_EQ(nav.ChosenIndex(), 1);
  EXPECT_EQ(nav.Key(Key(ENamedKey::kEscape)), Nav::kDismissed);

  IPopupMenu empty;
  EXPECT_FALSE(nav.Start(&empty, IRECT(), 1000, 800, Metrics()));
}

TEST(X11InputModel, MenuPointerHoverOpensSubmenusAndReleaseChooses) {
  MenuTree t;
  PopupMenuNavigator nav;
  const PopupMenuMetrics m = Metrics();
  nav.Start(&t.root, IRECT(0, 0, 10, 10), 1000, 800, m);
  const int topX = nav.Levels()[0].mX + 5;
  const int moreY = nav.Levels()[0].mY + nav.Levels()[0].mLayout.Rows()[1].mTop + 2;
  EXPECT_EQ(nav.Motion(topX, moreY), Nav::kChanged);
  ASSERT_EQ(nav.Levels().size(), 2u);
  const PopupMenuNavigator::Level& sub = nav.Levels()[1];
  const int subX = sub.mX + 5, subY = sub.mY + sub.mLayout.Rows()[0].mTop + 2;
  // Releasing over the row that opens the submenu chooses nothing.
  EXPECT_EQ(nav.Release(topX, moreY), Nav::kNone);
  EXPECT_EQ(nav.Motion(subX, subY), Nav::kChanged);
  EXPECT_EQ(nav.Levels().size(), 2u);
  EXPECT_EQ(nav.Release(subX, subY), Nav::kChosen);
  EXPECT_EQ(nav.ChosenMenu(), &t.sub);
  EXPECT_EQ(nav.ChosenIndex(), 0);
  EXPECT_EQ(nav.Press(999, 799), Nav::kDismissed);
}

TEST(X11InputModel, ResourceNamesAndXdgFolders) {
  EXPECT_EQ(PNGResourceName("resources/img/ATTACK.png"), "ATTACK.png");
  EXPECT_EQ(PNGResourceName("knob.PnG"), "knob.PnG");
  EXPECT_EQ(PNGResourceName("resources/img/readme.txt"), "");
  EXPECT_EQ(PNGResourceName("png"), "");
  EXPECT_EQ(PNGResourceName(nullptr), "");

  setenv("HOME", "/home/tester", 1);
  setenv("QV_TEST_XDG", "relative/dir", 1);
  EXPECT_EQ(XdgDirectory("QV_TEST_XDG", ".config"), "/home/tester/.config");
  setenv("QV_TEST_XDG", "/srv/conf", 1);
  EXPECT_EQ(XdgDirectory("QV_TEST_XDG", ".config"), "/srv/conf");
  unsetenv("QV_TEST_XDG");
}
TEST(X11InputModel, UrlReachesTheOpenerAsOneArgumentWithoutAShell) {
  char dir[] = "/tmp/qv-opener-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string script = std::string(dir) + "/xdg-open", out = std::string(dir) + "/args";
  std::ofstream(script) << "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > " << out << ".tmp && mv " << out
                        << ".tmp " << out << "\n";
  chmod(script.c_str(), 0755);
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (std::string(dir) + ":" + path).c_str(), 1);

  EXPECT_TRUE(OpenWithDesktop("http://example.invalid/a b;touch x"));
  EXPECT_FALSE(OpenWithDesktop("--help"));
  EXPECT_FALSE(OpenWithDesktop(""));
  std::string args;
  for (int i = 0; i < 200 && args.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::getline(std::ifstream(out), args);
  }
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(args, "1|http://example.invalid/a b;touch x|");
  ReapFinishedOpeners();
  unlink(out.c_str());
  unlink(script.c_str());
  rmdir(dir);
}
}  // namespace
