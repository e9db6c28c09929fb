// What the screen says about a window: its dots per inch as a scale (96 dpi = 1), per monitor
// where the system knows it, and the work area of the monitor the window is on. UI thread.
#pragma once

#include <windows.h>

// The window's DPI over 96 (GetDpiForWindow, Windows 10 1607 on); without it, or for a null
// window, the system's DPI. Never below a tenth or NaN.
double WindowDpiScale(HWND window);
// The work area (screen minus task bars) of the monitor the window is mostly on, or of the
// primary monitor for a null window; false when none is known.
bool MonitorWorkArea(HWND window, RECT* area);
