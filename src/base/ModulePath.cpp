// The module's own file: asked of the loader by an address inside it. On Windows the name comes
// as UTF-16 and may be longer than MAX_PATH; elsewhere a module linked into the program itself
// may report an empty or relative name, and the kernel knows the program's path.
#include "base/ModulePath.h"

#if defined(_WIN32)
#include <windows.h>

#include "base/WideText.h"

std::string ThisModulePath() {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&ThisModulePath), &module))
    return std::string();
  // The name is cut to the buffer when it does not fit: grow until it does (32 767 is the limit).
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(module, &name[0], (DWORD)name.size());
    if (n == 0) return std::string();
    if (n < name.size()) {
      name.resize(n);
      return WideToUtf8(name.c_str());
    }
    if (name.size() >= 32768) return std::string();
    name.resize(name.size() * 2);
  }
}
#else
#include <dlfcn.h>
#if defined(__linux__)
#include <unistd.h>
#endif

std::string ThisModulePath() {
  Dl_info info;
  std::string path;
  if (dladdr(reinterpret_cast<const void*>(&ThisModulePath), &info) && info.dli_fname) path = info.dli_fname;
#if defined(__linux__)
  // A main program may be named relative to where it started: the kernel knows its full path.
  if (path.empty() || path[0] != '/') {
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
    if (n <= 0) return std::string();
    path.assign(exe, (size_t)n);
  }
#endif
  return path;
}
#endif
