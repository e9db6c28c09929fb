// Plug-in libraries: dlopen with local symbols on POSIX systems, LoadLibraryW on Windows (the
// path as UTF-16, its own folder searched first for what it depends on).
#include "host/effect/SharedLibrary.h"

#if defined(_WIN32)
#include <windows.h>

#include "base/WideText.h"
#else
#include <dlfcn.h>
#endif

namespace qvhost {

#if defined(_WIN32)
void* openLibrary(const std::string& path, std::string* why) {
  HMODULE m = LoadLibraryExW(Utf8ToWide(path.c_str()).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!m && why) {
    const DWORD code = GetLastError();
    wchar_t* text = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = text ? WideToUtf8(text) : std::string();
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
      message.pop_back();
    *why = message.empty() ? "error " + std::to_string(code) : message;
  }
  return m;
}

void* librarySymbol(void* library, const char* name) {
  return library ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name)) : nullptr;
}

void closeLibrary(void* library) {
  if (library) FreeLibrary(static_cast<HMODULE>(library));
}
#else
void* openLibrary(const std::string& path, std::string* why) {
  void* h = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!h && why) {
    const char* text = ::dlerror();
    *why = text ? text : "unknown reason";
  }
  return h;
}

void* librarySymbol(void* library, const char* name) { return library ? ::dlsym(library, name) : nullptr; }

void closeLibrary(void* library) {
  if (library) ::dlclose(library);
}
#endif

}  // namespace qvhost
