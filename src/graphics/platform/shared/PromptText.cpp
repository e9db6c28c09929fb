// Measuring and drawing single lines of prompt text.
#include "graphics/platform/shared/PromptText.h"

int PromptTextWidth(PIX_IFont* font, const char* text, int len) {
  if (!font || !text || !*text || len == 0) return 0;
  RECT r = {0, 0, 0, 0};
  font->DrawText(nullptr, text, len, &r, PIX_DT_CALCRECT | PIX_DT_SINGLELINE);
  return r.right - r.left;
}

void PromptDrawText(PIX_IBitmap* bm, PIX_IFont* font, PIX_Pixel colour, const char* text, int x, int top,
                    int right, int bottom) {
  if (!font || !text || !*text || right <= x) return;
  font->SetTextColor(colour);
  RECT r = {x, top, right, bottom};
  font->DrawText(bm, text, -1, &r, PIX_DT_VCENTER | PIX_DT_SINGLELINE);
}
