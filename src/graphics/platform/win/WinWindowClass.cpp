// Window class registration.
#include "graphics/platform/win/WinWindowClass.h"

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

bool WinWindowClass::Acquire() {
  if (mUsers > 0) {
    ++mUsers;
    return true;
  }
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.style = mStyle;
  wc.lpfnWndProc = mProc;
  wc.hInstance = ThisModule();
  wc.hCursor = LoadCursorW(nullptr, mCursor);
  wc.lpszClassName = mName;
  // A class left behind by a window another code path still holds counts as registered.
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  mUsers = 1;
  return true;
}

void WinWindowClass::Release() {
  if (mUsers <= 0 || --mUsers > 0) return;
  UnregisterClassW(mName, ThisModule());
}
