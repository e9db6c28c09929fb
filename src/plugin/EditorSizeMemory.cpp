// Editor size settings file.
#include "plugin/EditorSizeMemory.h"

#include <sys/stat.h>

#if defined(_WIN32)
#include "base/WideText.h"

#include <direct.h>
#include <windows.h>
#elif !defined(__APPLE__)
#include <pwd.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kKey = "scale=";

#if defined(_WIN32)
constexpr char kSeparator = '\\';
constexpr const char* kSeparators = "\\/";

FILE* OpenFile(const std::string& path, const char* mode) {
  return _wfopen(Utf8ToWide(path.c_str()).c_str(), Utf8ToWide(mode).c_str());
}
bool MakeOneFolder(const std::string& path) {
  return _wmkdir(Utf8ToWide(path.c_str()).c_str()) == 0 || errno == EEXIST;
}
bool ReplaceFile(const std::string& from, const std::string& to) {
  return MoveFileExW(Utf8ToWide(from.c_str()).c_str(), Utf8ToWide(to.c_str()).c_str(),
                     MOVEFILE_REPLACE_EXISTING) != 0;
}
void RemoveFile(const std::string& path) { _wremove(Utf8ToWide(path.c_str()).c_str()); }

std::string SettingsFolder() {
  const wchar_t* appData = _wgetenv(L"APPDATA");
  return appData && *appData ? WideToUtf8(appData) + "\\Quorvane" : "";
}
#else
constexpr char kSeparator = '/';
constexpr const char* kSeparators = "/";

FILE* OpenFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }
bool MakeOneFolder(const std::string& path) { return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST; }
bool ReplaceFile(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}
void RemoveFile(const std::string& path) { std::remove(path.c_str()); }

std::string Home() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
#if defined(__APPLE__)
  // Every Mac process is started with HOME set.
  return "";
#else
  const passwd* pw = getpwuid(getuid());
  return pw && pw->pw_dir ? pw->pw_dir : "";
#endif
}

std::string SettingsFolder() {
#if defined(__APPLE__)
  const std::string home = Home();
  return home.empty() ? "" : home + "/Library/Preferences/Quorvane";
#else
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  // The variable counts only when absolute, as the base directory rules say.
  if (xdg && xdg[0] == '/') return std::string(xdg) + "/Quorvane";
  const std::string home = Home();
  return home.empty() ? "" : home + "/.config/Quorvane";
#endif
}
#endif

bool MakeFolder(const std::string& path) {
  // Each missing parent in turn; an existing folder is fine. Only the last one counts: the first
  // parts may be no folders one can make (a drive, a network share).
  for (size_t at = 1; at < path.size(); ++at)
    if (std::strchr(kSeparators, path[at])) MakeOneFolder(path.substr(0, at));
  return MakeOneFolder(path);
}

}  // namespace

std::string EditorSizeFile() {
  const std::string folder = SettingsFolder();
  return folder.empty() ? "" : folder + kSeparator + "editor.conf";
}

double ReadEditorScaleFile(const std::string& path) {
  FILE* f = path.empty() ? nullptr : OpenFile(path, "r");
  if (!f) return 0.0;
  char line[128];
  double scale = 0.0;
  while (std::fgets(line, sizeof line, f)) {
    if (std::strncmp(line, kKey, std::strlen(kKey)) != 0) continue;
    char* end = nullptr;
    const double v = std::strtod(line + std::strlen(kKey), &end);
    const bool clean = end && (*end == '\0' || *end == '\n' || *end == '\r');
    scale = clean && std::isfinite(v) && v >= 1.0 && v <= 2.0 ? v : 0.0;
  }
  std::fclose(f);
  return scale;
}

bool WriteEditorScaleFile(const std::string& path, double scale) {
  if (path.empty() || !std::isfinite(scale)) return false;
  const size_t slash = path.find_last_of(kSeparators);
  if (slash != std::string::npos && slash > 0 && !MakeFolder(path.substr(0, slash))) return false;
  const std::string temp = path + ".tmp";
  FILE* f = OpenFile(temp, "w");
  if (!f) return false;
  const bool written = std::fprintf(f, "%s%.4g\n", kKey, scale) > 0;
  if (std::fclose(f) != 0 || !written || !ReplaceFile(temp, path)) {
    RemoveFile(temp);
    return false;
  }
  return true;
}

double LoadEditorScale() { return ReadEditorScaleFile(EditorSizeFile()); }

bool SaveEditorScale(double scale) { return WriteEditorScaleFile(EditorSizeFile(), scale); }
