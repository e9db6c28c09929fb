// UTF-8 and UTF-16 through the system's converters.
#include "base/WideText.h"

#if defined(_WIN32)
#include <windows.h>

#include <cstring>
#include <cwchar>

std::wstring Utf8ToWide(const char* text) {
  if (!text || !*text) return std::wstring();
  const int bytes = static_cast<int>(std::strlen(text));
  const int n = MultiByteToWideChar(CP_UTF8, 0, text, bytes, nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, bytes, &out[0], n);
  return out;
}

std::string WideToUtf8(const wchar_t* text) {
  if (!text || !*text) return std::string();
  const int chars = static_cast<int>(std::wcslen(text));
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, chars, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, chars, &out[0], n, nullptr, nullptr);
  return out;
}
#endif
