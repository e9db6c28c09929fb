// A window class of this module, registered while a window of it exists. Classes belong to the
// module that registers them (its HINSTANCE), so the VST 3 and the CLAP module in one host never
// share one, and nothing stays registered after the last window of ours is gone: a module
// unloaded and loaded again at another address registers afresh. UI thread.
#pragma once

#include <windows.h>

// The module this code is linked into (the plug-in DLL, or the program).
HINSTANCE ThisModule();

class WinWindowClass {
 public:
  WinWindowClass(const wchar_t* name, WNDPROC proc, UINT style, LPCWSTR cursor)
      : mName(name), mProc(proc), mStyle(style), mCursor(cursor) {}

  // Registers on the first use; false when the system refuses.
  bool Acquire();
  // Unregisters after the last use.
  void Release();
  const wchar_t* Name() const { return mName; }

 private:
  const wchar_t* mName;
  WNDPROC mProc;
  UINT mStyle;
  LPCWSTR mCursor;
  int mUsers = 0;
};
