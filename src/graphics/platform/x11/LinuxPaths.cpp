// Linux path lookups.
#include "graphics/platform/x11/LinuxPaths.h"

#include <dlfcn.h>
#include <pwd.h>
#include <strings.h>
#include <unistd.h>
#include <cstdlib>
#include <cstring>

std::string HostExecutablePath() {
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

namespace {
std::string Parent(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Leaf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
}  // namespace

std::string ModuleBundlePath() {
  Dl_info info;
  std::string module;
  if (dladdr(reinterpret_cast<const void*>(&ModuleBundlePath), &info) && info.dli_fname)
    module = info.dli_fname;
  // Linked into the program itself the name may be empty or relative.
  if (module.empty() || module[0] != '/') module = HostExecutablePath();
  if (module.empty()) return std::string();
  const std::string dir = Parent(module);
  const std::string contents = Parent(dir);
  return Leaf(contents) == "Contents" ? Parent(contents) : dir;
}

std::string HomeDirectory() {
  const char* home = std::getenv("HOME");
  if (home && *home) return home;
  if (const passwd* pw = getpwuid(getuid()))
    if (pw->pw_dir) return pw->pw_dir;
  return std::string();
}

std::string XdgDirectory(const char* variable, const char* fallbackUnderHome) {
  // Relative values are invalid by the XDG rules and are ignored.
  const char* value = variable ? std::getenv(variable) : nullptr;
  if (value && value[0] == '/') return value;
  return HomeDirectory() + "/" + fallbackUnderHome;
}

std::string PNGResourceName(const char* name) {
  if (!name) return std::string();
  const std::string leaf = Leaf(name);
  const size_t dot = leaf.rfind('.');
  if (dot == std::string::npos || strcasecmp(leaf.c_str() + dot + 1, "png") != 0) return std::string();
  return leaf;
}
