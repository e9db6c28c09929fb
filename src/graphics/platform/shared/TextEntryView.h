// Paints a value prompt's editing state into the prompt's own bitmap: the style's text-entry
// background and foreground colours, its alignment, the selection and the caret.
#pragma once

#include "graphics/IText.h"
#include "graphics/platform/shared/TextEntryModel.h"
#include "pix/PIX_IFont.h"

void PaintTextEntry(PIX_IBitmap* bm, PIX_IFont* font, const IText& style, const TextEntryModel& model);
