// Paints one level of our own popup menu into its bitmap: frame, rows, highlight, check marks,
// separators, disabled and title items, submenu arrows.
#pragma once

#include "graphics/platform/shared/PopupMenuModel.h"
#include "pix/PIX_IFont.h"

void PaintPopupMenu(PIX_IBitmap* bm, PIX_IFont* font, const PopupMenuNavigator::Level& level,
                    const PopupMenuMetrics& metrics);
