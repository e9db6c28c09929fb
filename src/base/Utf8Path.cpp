// UTF-8 paths: passed through on POSIX systems, converted to UTF-16 for Windows' wide calls.
#include "base/Utf8Path.h"
#include "base/WideText.h"

#include <cerrno>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#endif

#if defined(_WIN32)
FILE* OpenUtf8File(const char* path, const char* mode) {
  if (!path || !mode || !*path) return nullptr;
  return _wfopen(Utf8ToWide(path).c_str(), Utf8ToWide(mode).c_str());
}

bool RenameUtf8File(const char* from, const char* to) {
  if (!from || !to) return false;
  return MoveFileExW(Utf8ToWide(from).c_str(), Utf8ToWide(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool RemoveUtf8File(const char* path) { return path && DeleteFileW(Utf8ToWide(path).c_str()) != 0; }

bool MakeUtf8Dir(const char* path) {
  if (!path || !*path) return false;
  const std::wstring w = Utf8ToWide(path);
  if (CreateDirectoryW(w.c_str(), nullptr)) return true;
  const DWORD attributes = GetFileAttributesW(w.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
#else
FILE* OpenUtf8File(const char* path, const char* mode) {
  if (!path || !mode || !*path) return nullptr;
  return std::fopen(path, mode);
}

bool RenameUtf8File(const char* from, const char* to) { return from && to && std::rename(from, to) == 0; }

bool RemoveUtf8File(const char* path) { return path && std::remove(path) == 0; }

bool MakeUtf8Dir(const char* path) {
  if (!path || !*path) return false;
  if (mkdir(path, 0755) == 0) return true;
  if (errno != EEXIST) return false;
  // Something is there: a folder only if its "." opens (a file's fails with ENOTDIR).
  FILE* dot = std::fopen((std::string(path) + "/.").c_str(), "r");
  if (!dot) return false;
  std::fclose(dot);
  return true;
}
#endif
