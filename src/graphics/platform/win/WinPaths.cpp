// Windows paths through the wide calls.
#include "graphics/platform/win/WinPaths.h"

#include "base/WideText.h"

#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

size_t LastSeparator(const std::string& path, size_t before) {
  for (size_t i = std::min(before, path.size()); i > 0; --i)
    if (IsSeparator(path[i - 1])) return i - 1;
  return std::string::npos;
}

bool SameNoCase(const std::string& a, const char* b) {
  return a.size() == std::strlen(b) && _strnicmp(a.c_str(), b, a.size()) == 0;
}

}  // namespace

std::string ProgramFileName() {
  // The longest path Windows knows, so the name is never cut.
  std::wstring name(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, &name[0], static_cast<DWORD>(name.size()));
  if (n == 0 || n >= name.size()) return std::string();
  name.resize(n);
  return WideToUtf8(name.c_str());
}

std::string PluginFolderOf(const std::string& moduleFile) {
  const size_t file = LastSeparator(moduleFile, moduleFile.size());
  if (file == std::string::npos) return std::string();
  const size_t arch = LastSeparator(moduleFile, file);
  const size_t contents = arch == std::string::npos ? std::string::npos : LastSeparator(moduleFile, arch);
  if (contents != std::string::npos &&
      SameNoCase(moduleFile.substr(contents + 1, arch - contents - 1), "Contents")) {
    const size_t bundle = LastSeparator(moduleFile, contents);
    if (bundle != std::string::npos) return moduleFile.substr(0, bundle + 1);
  }
  return moduleFile.substr(0, file + 1);
}

std::string ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return std::string();
  return WideToUtf8(path);
}

std::string PNGLeafName(const char* name) {
  if (!name) return std::string();
  const std::string path = name;
  const size_t slash = LastSeparator(path, path.size());
  const std::string leaf = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = leaf.rfind('.');
  if (dot == std::string::npos || _stricmp(leaf.c_str() + dot + 1, "png") != 0) return std::string();
  return leaf;
}
