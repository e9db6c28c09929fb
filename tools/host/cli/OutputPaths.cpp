// Refuses a run whose output is also one of its inputs.
#include "host/cli/OutputPaths.h"

#include <climits>
#include <cstdlib>

#if defined(_WIN32)
#include <windows.h>

#include <cctype>

#include "base/WideText.h"
#include "host/effect/PathInfo.h"
#else
#include <sys/stat.h>
#endif

namespace qvhost {

namespace {

#if defined(_WIN32)
// A file is its volume and its index there; a file not there yet is its full path, in any case.
struct FileId {
  bool exists = false;
  unsigned long long dev = 0;
  unsigned long long ino = 0;
  std::string canonical;
};

FileId identify(const std::string& path) {
  FileId id;
  HANDLE h = CreateFileW(Utf8ToWide(path.c_str()).c_str(), FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  BY_HANDLE_FILE_INFORMATION info;
  if (h != INVALID_HANDLE_VALUE && GetFileInformationByHandle(h, &info)) {
    id.exists = true;
    id.dev = info.dwVolumeSerialNumber;
    id.ino = (unsigned long long)info.nFileIndexHigh << 32 | info.nFileIndexLow;
  } else {
    id.canonical = absolutePath(path);
    for (char& c : id.canonical) c = c == '/' ? '\\' : (char)std::tolower((unsigned char)c);
  }
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  return id;
}
#else
struct FileId {
  bool exists = false;
  dev_t dev = 0;
  ino_t ino = 0;
  std::string canonical;  // for a file not there yet: its folder resolved, then its name
};

FileId identify(const std::string& path) {
  FileId id;
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    id.exists = true;
    id.dev = st.st_dev;
    id.ino = st.st_ino;
    return id;
  }
  const size_t slash = path.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  char resolved[PATH_MAX];
  id.canonical = (::realpath(dir.c_str(), resolved) ? std::string(resolved) : dir) + "/" +
                 (slash == std::string::npos ? path : path.substr(slash + 1));
  return id;
}
#endif

bool same(const FileId& a, const FileId& b) {
  if (a.exists != b.exists) return false;
  return a.exists ? a.dev == b.dev && a.ino == b.ino : a.canonical == b.canonical;
}

}  // namespace

bool outputsAreDistinct(const std::vector<std::pair<std::string, std::string>>& outputs,
                        const std::vector<std::pair<std::string, std::string>>& inputs, std::string* error) {
  for (size_t i = 0; i < outputs.size(); ++i) {
    const auto& out = outputs[i];
    if (out.second.empty()) continue;
    const FileId id = identify(out.second);
    std::vector<std::pair<std::string, std::string>> others(inputs);
    others.insert(others.end(), outputs.begin() + static_cast<std::ptrdiff_t>(i) + 1, outputs.end());
    for (const auto& other : others) {
      if (other.second.empty() || !same(id, identify(other.second))) continue;
      if (error) {
        *error = out.first + " '" + out.second + "' is the same file as " + other.first + " '" +
                 other.second + "'; write the result to another file";
      }
      return false;
    }
  }
  return true;
}

}  // namespace qvhost
