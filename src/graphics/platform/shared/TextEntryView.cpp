// Text entry painting.
#include "graphics/platform/shared/TextEntryView.h"

#include "graphics/platform/shared/PromptText.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_Line.h"

namespace {
constexpr int kInset = 2;
constexpr PIX_Pixel kSelection = 0xFFA8C8F0;

PIX_Pixel Opaque(const IColor& c) { return c.ToPixel() | 0xFF000000u; }
}  // namespace

void PaintTextEntry(PIX_IBitmap* bm, PIX_IFont* font, const IText& style, const TextEntryModel& model) {
  const int w = bm->getWidth(), h = bm->getHeight();
  if (w <= 0 || h <= 0) return;
  const PIX_Pixel fg = Opaque(style.mTextEntryFGColor);
  PIX_FillRect(bm, 0, 0, w, h, Opaque(style.mTextEntryBGColor), 1.0f, PIX_BLIT_MODE_COPY);

  const char* text = model.Text().c_str();
  const int textW = PromptTextWidth(font, text);
  const int caretX = PromptTextWidth(font, text, model.Caret());
  int x = kInset;
  if (style.mAlign == IText::kAlignCenter)
    x = (w - textW) / 2;
  else if (style.mAlign == IText::kAlignFar)
    x = w - kInset - textW;
  // Keep the caret in view when the text is wider than the field.
  if (x + caretX > w - kInset) x = w - kInset - caretX;
  if (x + caretX < kInset) x = kInset - caretX;

  if (model.AllSelected()) PIX_FillRect(bm, x, 1, textW, h - 2, kSelection, 1.0f, PIX_BLIT_MODE_COPY);
  PromptDrawText(bm, font, fg, text, x, 0, w, h);
  if (!model.AllSelected())
    PIX_Line(bm, x + caretX, kInset, x + caretX, h - 1 - kInset, fg, 1.0f, PIX_BLIT_MODE_COPY, false);
}
