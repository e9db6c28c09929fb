// WinTextEntry: the value prompt's own small child window over the editor, as on X11: it holds
// the editing state and paints it with the engine's fonts. Keys reach it through the editor
// window, which keeps the keyboard focus and decides what committing or cancelling means. UI
// thread.
#pragma once

#include "graphics/IRECT.h"
#include "graphics/IText.h"
#include "graphics/platform/shared/TextEntryModel.h"
#include "pix/PIX_MemBitmap.h"

#include <cstdint>

struct HWND__;

class WinTextEntry {
 public:
  WinTextEntry() = default;
  ~WinTextEntry() { Close(); }
  WinTextEntry(const WinTextEntry&) = delete;
  WinTextEntry& operator=(const WinTextEntry&) = delete;

  // The window covers rect (window pixels) inside parent; false when it cannot be made.
  bool Open(HWND__* parent, const IRECT& rect, PIX_IFont* font, const IText& style, const char* text,
            const char* filter, int maxLength);
  void Close();

  bool IsOpen() const { return mWindow != nullptr; }
  HWND__* GetWindow() const { return mWindow; }
  TextEntryModel& Model() { return mModel; }
  // Repaints the window from the model now.
  void Paint();

 private:
  // A WNDPROC (LRESULT, HWND, UINT, WPARAM, LPARAM on x64).
  static intptr_t Proc(HWND__* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam);
  // The model painted into the bitmap; in a file of its own, away from the system's headers,
  // whose RECT and HDC our drawing layer's names would meet.
  void Render();
  void Present();

  HWND__* mWindow = nullptr;
  PIX_MemBitmap mBitmap;
  PIX_IFont* mFont = nullptr;
  IText mStyle;
  TextEntryModel mModel;
};
