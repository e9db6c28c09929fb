// Path queries through stat and realpath, or their UTF-16 counterparts on Windows.
#include "host/effect/PathInfo.h"

#if defined(_WIN32)
#include <windows.h>

#include "base/WideText.h"
#else
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#endif

namespace qvhost {

#if defined(_WIN32)
namespace {
DWORD attributesOf(const std::string& path) { return GetFileAttributesW(Utf8ToWide(path.c_str()).c_str()); }
}  // namespace

bool isDirectory(const std::string& path) {
  const DWORD a = attributesOf(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool isRegularFile(const std::string& path) {
  const DWORD a = attributesOf(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
}

std::string absolutePath(const std::string& path) {
  const std::wstring wide = Utf8ToWide(path.c_str());
  if (wide.empty()) return path;
  const DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring full(n, L'\0');
  const DWORD written = GetFullPathNameW(wide.c_str(), n, &full[0], nullptr);
  if (written == 0 || written >= n) return path;
  full.resize(written);
  return WideToUtf8(full.c_str());
}

bool isPathSeparator(char c) { return c == '/' || c == '\\'; }
#else
bool isDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string absolutePath(const std::string& path) {
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

bool isPathSeparator(char c) { return c == '/'; }
#endif

}  // namespace qvhost
