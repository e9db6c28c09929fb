// The Cocoa window's platform-neutral rules: coordinates, input mapping, alerts, menu titles,
// text-entry validation and path handling.
#include "graphics/platform/mac/CocoaMapping.h"

#include "framework/IParam.h"

#include <gtest/gtest.h>

#include <climits>

using namespace CocoaMapping;

TEST(CocoaMapping, RectanglesAndPointsFlipAboutTheViewHeight) {
  const int H = 662;
  Rect c = ToCocoaRect(IRECT(10, 20, 30, 40), H);
  EXPECT_EQ(c.x, 10);
  EXPECT_EQ(c.y, H - 41);
  EXPECT_EQ(c.w, 21);
  EXPECT_EQ(c.h, 21);

  Rect dirty;
  dirty.x = 10.9;
  dirty.y = 600.7;
  dirty.w = 20.5;
  dirty.h = 40.2;
  EXPECT_EQ(ToIRECT(dirty, H), IRECT(10, H - 600 - 40, 30, H - 600));

  int x = 99, y = 99;
  ToEditorPoint(2.0, H - 3.0, H, &x, &y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  ToEditorPoint(2.7, H - 2.5, H, &x, &y);  // truncation, not rounding
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
}

TEST(CocoaMapping, CommandClickIsARightClickAndRightButtonNeverSetsLeft) {
  const unsigned long long shift = 1ull << 17, control = 1ull << 18, option = 1ull << 19,
                           command = 1ull << 20;

  IMouseMod m = MouseModFromFlags(command | shift, kButtonLeft);
  EXPECT_TRUE(m.L && m.R && m.S);
  EXPECT_FALSE(m.C || m.A);

  m = MouseModFromFlags(control | option | command, kButtonRight);
  EXPECT_FALSE(m.L);
  EXPECT_TRUE(m.R && m.C && m.A);

  m = MouseModFromFlags(command, kButtonNone);
  EXPECT_FALSE(m.L || m.R);
}

TEST(CocoaMapping, KeysMapByPositionThenByCharacter) {
  EXPECT_EQ(KeyCodeFor(12, 'q'), 31);
  EXPECT_EQ(KeyCodeFor(12, 'Q'), 31);
  EXPECT_EQ(KeyCodeFor(29, '0'), 5);
  EXPECT_EQ(KeyCodeFor(25, '9'), 14);
  EXPECT_EQ(KeyCodeFor(0, 'a'), 15);
  EXPECT_EQ(KeyCodeFor(6, 'z'), 40);
  EXPECT_EQ(KeyCodeFor(49, ' '), 0);
  EXPECT_EQ(KeyCodeFor(126, 0xF700), 1);
  EXPECT_EQ(KeyCodeFor(125, 0xF701), 2);
  EXPECT_EQ(KeyCodeFor(123, 'a'), 3);  // the key code wins over the character
  EXPECT_EQ(KeyCodeFor(124, 0xF703), 4);
  EXPECT_EQ(KeyCodeFor(27, '-'), kNoKey);
  EXPECT_EQ(KeyCodeFor(0, 0xE9), kNoKey);
}

TEST(CocoaMapping, AlertButtonsAndAnswers) {
  AlertButtons b = AlertButtonsForType(4);
  EXPECT_STREQ(b.defaultTitle, "Yes");
  EXPECT_STREQ(b.alternateTitle, "No");
  EXPECT_EQ(b.otherTitle, nullptr);

  b = AlertButtonsForType(1);
  EXPECT_EQ(b.defaultTitle, nullptr);
  EXPECT_STREQ(b.alternateTitle, "Cancel");

  b = AlertButtonsForType(3);
  EXPECT_STREQ(b.otherTitle, "Cancel");

  b = AlertButtonsForType(0);
  EXPECT_TRUE(!b.defaultTitle && !b.alternateTitle && !b.otherTitle);

  EXPECT_EQ(MessageBoxResult(kResponseDefault), 1);
  EXPECT_EQ(MessageBoxResult(kResponseAlternate), 7);  // "No" of a yes/no box
  EXPECT_EQ(MessageBoxResult(kResponseOther), 2);
  EXPECT_EQ(MessageBoxResult(kResponseNone), 0);
}

TEST(CocoaMapping, MenuTitlesCarryTheNumberingPrefix) {
  EXPECT_EQ(MenuItemTitle(0, 7, "Soft"), "Soft");
  EXPECT_EQ(MenuItemTitle(1, 7, "Soft"), "7: Soft");
  EXPECT_EQ(MenuItemTitle(2, 7, "Soft"), "07: Soft");
  EXPECT_EQ(MenuItemTitle(3, 7, "Soft"), "007: Soft");
  EXPECT_EQ(MenuItemTitle(3, 1234, "Soft"), "1234: Soft");
  EXPECT_EQ(MenuItemTitle(4, 7, nullptr), "");
}

TEST(CocoaMapping, TextEntryCharactersFollowTheParameterKind) {
  EXPECT_STREQ(TextEntryCharacters(IParam::kParamInt), "0123456789-+");
  EXPECT_STREQ(TextEntryCharacters(IParam::kParamEnum), "0123456789-+");
  EXPECT_STREQ(TextEntryCharacters(IParam::kParamDouble), "0123456789.-+");
  EXPECT_EQ(TextEntryCharacters(IParam::kParamNone), nullptr);

  const char* ints = TextEntryCharacters(IParam::kParamInt);
  EXPECT_TRUE(IsEntryTextValid("-12", ints, 32, 0));
  EXPECT_FALSE(IsEntryTextValid("1.5", ints, 32, 0));
  EXPECT_FALSE(IsEntryTextValid("1\xC3\xA9", ints, 32, 0));  // non-ASCII is outside any set
  EXPECT_TRUE(IsEntryTextValid("", ints, 32, 0));
}

TEST(CocoaMapping, TextEntryLengthAndValueLimits) {
  EXPECT_TRUE(IsEntryTextValid("abcd", nullptr, 4, 0));
  EXPECT_FALSE(IsEntryTextValid("abcde", nullptr, 4, 0));
  EXPECT_TRUE(IsEntryTextValid("\xC3\xA9\xC3\xA9", nullptr, 2, 0));    // two UTF-16 units
  EXPECT_FALSE(IsEntryTextValid("a\xF0\x9F\x8E\x9B", nullptr, 2, 0));  // a surrogate pair counts twice
  EXPECT_TRUE(IsEntryTextValid("a long text of any length", nullptr, 0, 0));

  EXPECT_TRUE(IsEntryTextValid("127", nullptr, 0, 127));
  EXPECT_FALSE(IsEntryTextValid("128", nullptr, 0, 127));
  EXPECT_TRUE(IsEntryTextValid("-99999999999999999999", nullptr, 0, 127));
  EXPECT_FALSE(IsEntryTextValid("99999999999999999999", nullptr, 0, 127));  // saturates, no overflow

  EXPECT_EQ(LeadingIntValue("  +42abc"), 42);
  EXPECT_EQ(LeadingIntValue("-2147483648"), INT_MIN);
  EXPECT_EQ(LeadingIntValue("2147483648"), INT_MAX);
  EXPECT_EQ(LeadingIntValue("x1"), 0);
  EXPECT_EQ(LeadingIntValue(nullptr), 0);
}

TEST(CocoaMapping, FilePromptPaths) {
  EXPECT_EQ(FilePromptStartDir(""), "~/Desktop");
  EXPECT_EQ(FilePromptStartDir(nullptr), "~/Desktop");
  EXPECT_EQ(FilePromptStartDir("/Users/me/Presets/"), "/Users/me/Presets/");

  EXPECT_EQ(SplitExtensions("fxp  fxb "), (std::vector<std::string>{"fxp", "fxb"}));
  EXPECT_TRUE(SplitExtensions("").empty());
  EXPECT_TRUE(SplitExtensions(nullptr).empty());

  EXPECT_EQ(FolderOfPath("/Users/me/a.fxp"), "/Users/me/");
  EXPECT_EQ(FolderOfPath("/a.fxp"), "/");
  EXPECT_EQ(FolderOfPath("a.fxp"), "");

  EXPECT_TRUE(IsWebAddress("https://example.invalid"));
  EXPECT_FALSE(IsWebAddress("/Users/me/manual.pdf"));
  EXPECT_FALSE(IsWebAddress(nullptr));
}

TEST(CocoaMapping, ResourcesAndSubWindowPlacement) {
  EXPECT_TRUE(IsPNGName("resources/img/knob.png"));
  EXPECT_TRUE(IsPNGName("KNOB.PnG"));
  EXPECT_FALSE(IsPNGName("knob.png.bak"));
  EXPECT_FALSE(IsPNGName("png"));
  EXPECT_FALSE(IsPNGName("knob.pngx"));

  EXPECT_EQ(ResourceBaseName("resources/img/knob.png"), "knob");
  EXPECT_EQ(ResourceBaseName("bg.v2.png"), "bg.v2");
  EXPECT_EQ(ResourceBaseName("plain"), "plain");

  EXPECT_EQ(SubWindowXOffset(1000.0, 664), 168);
  EXPECT_EQ(SubWindowXOffset(667.0, 664), 1);  // floored
  EXPECT_EQ(SubWindowXOffset(664.0, 664), 0);
  EXPECT_EQ(SubWindowXOffset(500.0, 664), 0);
}
