// The engine's popup menus as the system's own (TrackPopupMenu): runs modally on the UI thread and
// answers with the menu or submenu whose item was chosen, its chosen index set, or null.
#pragma once

#include "graphics/IPopupMenu.h"

#include <windows.h>

// at: screen position of the menu's top-left corner.
IPopupMenu* RunSystemPopupMenu(HWND owner, IPopupMenu* menu, POINT at);
