// Text and glyph-strip controls, display controls fed by SetDirty, the link and file
// controls against the headless window, and the popup-menu model.
#include "graphics/GraphicsTestSupport.h"
#include "graphics/IPopupMenu.h"
#include "graphics/controls/IBitmapTextControl.h"
#include "graphics/controls/IFileSelectorControl.h"
#include "graphics/controls/IKnobControls.h"
#include "graphics/controls/ITextControl.h"
#include "graphics/controls/IURLControl.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_MemBitmap.h"

#include <gtest/gtest.h>

#include <string>

namespace {
IMouseMod kLeft(true);

std::string Display(IParam* p) {
  char buf[IParam::kDisplayBufSize];
  p->GetDisplayForHost(p->GetValue(), false, buf, true);
  return buf;
}
}  // namespace

TEST(PopupMenu, InsertCheckAndPrefix) {
  IPopupMenu menu, sub;
  menu.AddItem("b");
  menu.AddSeparator();
  menu.AddItem("a", 0);
  menu.AddItem("z", 10);
  menu.AddItem("first", -7);
  menu.AddItem("sub", &sub);
  std::string order;
  for (int i = 0; i < menu.GetNItems(); ++i) order += std::string(menu.GetItemText(i)) + "|";
  EXPECT_EQ(order, "first|a|b||z|sub|");
  EXPECT_TRUE(menu.GetItem(3)->GetIsSeparator());
  EXPECT_EQ(menu.GetItem(5)->GetSubmenu(), &sub);
  EXPECT_STREQ(menu.GetItemText(6), "");

  menu.SetPrefix(2);
  menu.SetPrefix(4);
  EXPECT_EQ(menu.GetPrefix(), 2);
  EXPECT_TRUE(menu.CheckItem(1, true));
  EXPECT_FALSE(menu.CheckItem(9, true));
  menu.CheckItemAlone(2);
  EXPECT_FALSE(menu.IsItemChecked(1));
  EXPECT_TRUE(menu.IsItemChecked(2));
  EXPECT_FALSE(menu.IsItemChecked(99));
}

TEST(TextControls, PlugTextAndDisplayControls) {
  EditorFixture ed;
  IParam* gain = ed.plug.GetParam(1);
  gain->InitDouble("Gain", 2.0, -10.0, 10.0, 0.5, "dB");
  IText style(12, &COLOR_WHITE, "DejaVu Sans");
  ITextControl* valueText = new ITextControl(&ed.plug, IRECT(100, 0, 180, 16), &style);
  ITextControl* nameText = new ITextControl(&ed.plug, IRECT(100, 20, 180, 36), &style);
  IKnobLineControl* knob = new IKnobLineControl(&ed.plug, IRECT(100, 40, 140, 80), 1, &COLOR_WHITE);
  knob->SetValDisplayControl(valueText);
  knob->SetNameDisplayControl(nameText);
  for (IControl* c : std::vector<IControl*>{valueText, nameText, knob}) ed.gui->AttachControl(c);
  ed.Attach();
  ITextControl text(&ed.plug, IRECT(0, 0, 80, 16), &style, "fixed");
  text.SetClean();
  text.SetTextFromPlug("fixed");
  EXPECT_FALSE(text.IsDirty());
  text.SetTextFromPlug("moved");
  EXPECT_TRUE(text.IsDirty());
  EXPECT_STREQ(text.GetString(), "moved");

  knob->OnMouseDrag(0, 0, 0, -40, &kLeft);
  EXPECT_EQ(valueText->GetString(), Display(gain) + " dB");
  EXPECT_STREQ(nameText->GetString(), "Gain");
  EXPECT_TRUE(valueText->IsDirty());
}

TEST(BitmapText, LayoutCutsWrapsAndStaysInsideTheStrip) {
  // Four 8 x 8 glyphs for codes 32..35 (" !\"#"), each a solid colour of its own.
  PIX_MemBitmap strip(8, 32);
  for (int i = 0; i < 4; ++i) PIX_FillRect(&strip, 0, i * 8, 8, 8, 0xFF000000 | (i + 1), 1.0f, 0);
  IBitmap glyphs(&strip, 8, 32, 4);
  IText near(10, nullptr, nullptr, IText::kStyleNormal, IText::kAlignNear);
  EditorFixture ed(4, 100, 100);
  const struct {
    const char* text;
    int width, charWidth;
    bool multi;
  } rows[] = {
      {"!\"", 10, 8, false},    // only the first fits
      {"\x01#", 20, 8, false},  // below the strip's first code: the first glyph
      {"A!", 20, 8, false},     // past the strip: skipped, the next stays in place
      {"!!!", 16, 8, true},     // wraps to a second line
      {"!!", 20, 0, false},     // no width: nothing
  };
  for (int r = 0; r < 5; ++r)
    ed.gui->AttachControl(new IBitmapTextControl(&ed.plug, IRECT(0, r * 20, rows[r].width, r * 20 + 16),
                                                 &glyphs, rows[r].text, &near, rows[r].charWidth, 8, 0,
                                                 rows[r].multi, false));
  ed.Attach();
  IRECT all(0, 0, 100, 100);
  ed.gui->Draw(&all);
  // Per text row, the glyph (1-4, '.' for none) in each 8 x 8 cell of two columns and two lines.
  std::string seen;
  for (int r = 0; r < 5; ++r, seen += ' ')
    for (int cell = 0; cell < 4; ++cell) {
      const int glyph = ed.gui->GetPoint(4 + 8 * (cell % 2), r * 20 + 4 + 8 * (cell / 2)).ToPixel() & 0xFF;
      seen += glyph ? char('0' + glyph) : '.';
    }
  EXPECT_EQ(seen, "2... 14.. .2.. 222. .... ");
}

TEST(LinkAndFileControls, FallbackLinkAndSelectionCycle) {
  EditorFixture ed;
  const std::string longURL = "http://example.invalid/" + std::string(600, 'x');
  IURLControl* link = new IURLControl(&ed.plug, IRECT(0, 0, 10, 10), "http://a.invalid", "http://b.invalid");
  IURLControl* cut = new IURLControl(&ed.plug, IRECT(0, 0, 10, 10), longURL.c_str());
  ed.plug.GetParam(2)->InitBool("Load", false);
  IFileSelectorControl* file =
      new IFileSelectorControl(&ed.plug, IRECT(20, 0, 40, 20), 2, nullptr, kFileOpen, "/tmp/", "wav aif");
  for (IControl* c : std::vector<IControl*>{link, cut, file}) ed.gui->AttachControl(c);
  ed.Attach();

  EXPECT_EQ(std::string(cut->GetURL()), longURL.substr(0, 511));
  link->OnMouseDown(0, 0, &kLeft);
  ed.gui->SetOpenURLResult(false);
  link->OnMouseDown(0, 0, &kLeft);
  const std::vector<std::string> urls = {"http://a.invalid", "http://a.invalid", "http://b.invalid"};
  EXPECT_EQ(ed.gui->OpenedURLs(), urls);

  ed.gui->QueueFileChoice("/tmp/kick.wav");
  file->OnMouseDown(25, 5, &kLeft);
  EXPECT_EQ(file->GetState(), IFileSelectorControl::kFSNone) << "no editor window: nothing to ask";
  ed.gui->OpenWindow(nullptr);
  file->OnMouseDown(25, 5, &kLeft);
  EXPECT_EQ(ed.plug.log.front(), "inform 2 1");
  StrBuf chosen;
  file->GetLastSelectedFileForPlug(&chosen);
  EXPECT_STREQ(chosen.Get(), "/tmp/kick.wav");
  file->SetClean();
  EXPECT_TRUE(file->IsDirty()) << "one more pass to clear the prompt image";
  EXPECT_FALSE(file->IsDirty());
}
