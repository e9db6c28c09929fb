// Popup menu painting.
#include "graphics/platform/x11/PopupMenuPainter.h"

#include "graphics/platform/shared/PromptText.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_Line.h"
#include "pix/PIX_Polygon.h"

namespace {
constexpr PIX_Pixel kBackground = 0xFFF2F2F2;
constexpr PIX_Pixel kFrame = 0xFF808080;
constexpr PIX_Pixel kSeparator = 0xFFC8C8C8;
constexpr PIX_Pixel kText = 0xFF000000;
constexpr PIX_Pixel kDisabledText = 0xFF9A9A9A;
constexpr PIX_Pixel kHighlight = 0xFF3874D8;
constexpr PIX_Pixel kHighlightText = 0xFFFFFFFF;

void Line(PIX_IBitmap* bm, int x1, int y1, int x2, int y2, PIX_Pixel c) {
  PIX_Line(bm, x1, y1, x2, y2, c, 1.0f, PIX_BLIT_MODE_COPY, false);
}
}  // namespace

void PaintPopupMenu(PIX_IBitmap* bm, PIX_IFont* font, const PopupMenuNavigator::Level& level,
                    const PopupMenuMetrics& metrics) {
  const int w = bm->getWidth(), h = bm->getHeight();
  PIX_FillRect(bm, 0, 0, w, h, kBackground, 1.0f, PIX_BLIT_MODE_COPY);
  const auto& rows = level.mLayout.Rows();
  for (size_t i = 0; i < rows.size(); ++i) {
    const PopupMenuRow& row = rows[i];
    const int top = row.mTop, bottom = row.mTop + row.mHeight;
    if (row.mSeparator) {
      Line(bm, 4, top + row.mHeight / 2, w - 5, top + row.mHeight / 2, kSeparator);
      continue;
    }
    const bool lit = static_cast<int>(i) == level.mHighlight;
    if (lit) PIX_FillRect(bm, 1, top, w - 2, row.mHeight, kHighlight, 1.0f, PIX_BLIT_MODE_COPY);
    const PIX_Pixel ink = row.mDisabled ? kDisabledText : (lit ? kHighlightText : kText);
    if (row.mChecked) {
      const int cx = metrics.mCheckWidth / 2, cy = top + row.mHeight / 2;
      Line(bm, cx - 4, cy, cx - 1, cy + 3, ink);
      Line(bm, cx - 1, cy + 3, cx + 4, cy - 3, ink);
    }
    const int textX = metrics.mCheckWidth + (row.mTitle ? metrics.mTitleIndent : 0);
    PromptDrawText(bm, font, ink, row.mLabel.c_str(), textX, top, w - metrics.mArrowWidth, bottom);
    if (row.mSubmenu) {
      const int ax = w - metrics.mArrowWidth / 2 - 2, ay = top + row.mHeight / 2;
      PIX_FillTriangle(bm, ax - 2, ay - 4, ax - 2, ay + 4, ax + 2, ay, ink, 1.0f, PIX_BLIT_MODE_COPY);
    }
  }
  Line(bm, 0, 0, w - 1, 0, kFrame);
  Line(bm, 0, h - 1, w - 1, h - 1, kFrame);
  Line(bm, 0, 0, 0, h - 1, kFrame);
  Line(bm, w - 1, 0, w - 1, h - 1, kFrame);
}
