// Editor size settings file.
#include "plugin/EditorSizeMemory.h"

#include "base/Utf8Path.h"

#if defined(_WIN32)
#include "base/WideText.h"
#elif !defined(__APPLE__)
#include <pwd.h>
#include <unistd.h>
#endif

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kKey = "scale=";

#if defined(_WIN32)
constexpr char kSeparator = '\\';
// Either separator may come in a path handed to the file functions.
constexpr const char* kSeparators = "\\/";

std::string SettingsFolder() {
  // Read wide: the narrow environment is in the user's code page, which may not hold the name.
  const wchar_t* appData = _wgetenv(L"APPDATA");
  return appData && *appData ? WideToUtf8(appData) + "\\Quorvane" : "";
}
#else
constexpr char kSeparator = '/';
constexpr const char* kSeparators = "/";

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
  // parts may be nothing one can make (a drive, a network share).
  for (size_t at = 1; at < path.size(); ++at)
    if (std::strchr(kSeparators, path[at])) MakeUtf8Dir(path.substr(0, at).c_str());
  return MakeUtf8Dir(path.c_str());
}

}  // namespace

std::string EditorSizeFile() {
  const std::string folder = SettingsFolder();
  return folder.empty() ? "" : folder + kSeparator + "editor.conf";
}

double ReadEditorScaleFile(const std::string& path) {
  FILE* f = path.empty() ? nullptr : OpenUtf8File(path.c_str(), "r");
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
  FILE* f = OpenUtf8File(temp.c_str(), "w");
  if (!f) return false;
  const bool written = std::fprintf(f, "%s%.4g\n", kKey, scale) > 0;
  if (std::fclose(f) != 0 || !written || !RenameUtf8File(temp.c_str(), path.c_str())) {
    RemoveUtf8File(temp.c_str());
    return false;
  }
  return true;
}

double LoadEditorScale() { return ReadEditorScaleFile(EditorSizeFile()); }

bool SaveEditorScale(double scale) { return WriteEditorScaleFile(EditorSizeFile(), scale); }
