// Per-monitor DPI and work areas. GetDpiForWindow and GetDpiForSystem are looked up at run time:
// Windows 7 and 8 have neither and fall back to the screen's logical pixels per inch.
#include "graphics/platform/win/WinScreen.h"

#include <cmath>

namespace {

constexpr double kStandardDpi = 96.0;

template <typename F>
F UserFunction(const char* name) {
  HMODULE user = GetModuleHandleW(L"user32.dll");
  // The cast through a generic function pointer keeps GCC's -Wcast-function-type quiet.
  return user ? reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(user, name))) : nullptr;
}

double ScreenDpi() {
  using SystemDpi = UINT(WINAPI*)();
  static const SystemDpi forSystem = UserFunction<SystemDpi>("GetDpiForSystem");
  if (forSystem) return forSystem();
  HDC screen = GetDC(nullptr);
  if (!screen) return kStandardDpi;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

double WindowDpiScale(HWND window) {
  using WindowDpi = UINT(WINAPI*)(HWND);
  static const WindowDpi forWindow = UserFunction<WindowDpi>("GetDpiForWindow");
  double dpi = window && forWindow ? forWindow(window) : 0.0;
  if (dpi <= 0.0) dpi = ScreenDpi();
  const double scale = dpi / kStandardDpi;
  return std::isfinite(scale) && scale >= 0.1 ? scale : 1.0;
}

bool MonitorWorkArea(HWND window, RECT* area) {
  if (!area) return false;
  HMONITOR monitor = window ? MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)
                            : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info = {};
  info.cbSize = sizeof info;
  if (!monitor || !GetMonitorInfoW(monitor, &info)) return false;
  *area = info.rcWork;
  return area->right > area->left && area->bottom > area->top;
}
