// Translation of X key and pointer events into the window system-neutral input records.
#pragma once

#include "graphics/platform/shared/EditorKey.h"
#include "graphics/platform/x11/PointerInput.h"

#include <X11/Xlib.h>

// The key a press stands for; control and alt do not change the character (control-Q is "q"
// with mControl set), shift and caps lock do.
EditorKey TranslateKey(const XKeyEvent& event);
// Shift, control and alt (Mod1) from an event's state.
ModifierKeys ModifiersFromState(unsigned state);
