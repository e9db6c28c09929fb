// An output file that appears only when it is complete.
#include "host/cli/PendingFile.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/Utf8Path.h"

#if defined(_WIN32)
#include <windows.h>

#include "base/WideText.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qvhost {

namespace {

std::string failure(const std::string& path, int err) {
  return "cannot write '" + path + "': " + std::strerror(err);
}

// Temporary paths a signal handler may remove: fixed storage, since it can only call unlink.
constexpr int kSlots = 8;
#if defined(_WIN32)
constexpr size_t kSlotSize = 1024;
wchar_t gPaths[kSlots][kSlotSize];
#else
constexpr size_t kSlotSize = PATH_MAX;
char gPaths[kSlots][kSlotSize];
#endif
volatile std::sig_atomic_t gUsed[kSlots];

void removeAndReraise(int sig) {
  for (int i = 0; i < kSlots; ++i) {
#if defined(_WIN32)
    if (gUsed[i]) ::_wunlink(gPaths[i]);
#else
    if (gUsed[i]) ::unlink(gPaths[i]);
#endif
  }
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

// Keeps the temporary path where the signal handler finds it; -1 when every slot is taken.
int occupySlot(const std::string& temp) {
#if defined(_WIN32)
  const std::wstring path = Utf8ToWide(temp.c_str());
#else
  const std::string& path = temp;
#endif
  if (path.size() >= kSlotSize) return -1;
  for (int i = 0; i < kSlots; ++i) {
    if (gUsed[i]) continue;
    std::memcpy(gPaths[i], path.c_str(), (path.size() + 1) * sizeof(path[0]));
    gUsed[i] = 1;
    return i;
  }
  return -1;
}

}  // namespace

#if defined(_WIN32)
// Windows has no symbolic links a user meets here, no modes and no mkstemp: the temporary file is
// created exclusively under a name of this process's own, and inherits the folder's permissions.
std::unique_ptr<PendingFile> PendingFile::create(const std::string& target, std::string* error) {
  std::unique_ptr<PendingFile> f(new PendingFile);
  f->mTarget = target;
  const DWORD attributes = GetFileAttributesW(Utf8ToWide(target.c_str()).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    if (error) *error = failure(target, EISDIR);
    return nullptr;
  }
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    if (error) *error = failure(target, EACCES);
    return nullptr;
  }
  const size_t slash = target.find_last_of("/\\");
  const std::string dir = slash == std::string::npos ? "" : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    const std::string temp = dir + "." + name + "." + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(attempt) + ".tmp";
    HANDLE h = CreateFileW(Utf8ToWide(temp.c_str()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;
      break;
    }
    CloseHandle(h);
    f->mTemp = temp;
    f->mSlot = occupySlot(temp);
    return f;
  }
  if (error) *error = failure(target, EACCES);
  return nullptr;
}
#else
std::unique_ptr<PendingFile> PendingFile::create(const std::string& target, std::string* error) {
  std::unique_ptr<PendingFile> f(new PendingFile);
  f->mTarget = target;
  struct stat st {};
  if (::lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(target.c_str(), resolved)) f->mTarget = resolved;
  }
  const bool exists = ::stat(f->mTarget.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) {
    if (error) *error = failure(target, EISDIR);
    return nullptr;
  }
  if (exists && ::access(f->mTarget.c_str(), W_OK) != 0) {
    if (error) *error = failure(target, errno);
    return nullptr;
  }

  const size_t slash = f->mTarget.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "" : f->mTarget.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? f->mTarget : f->mTarget.substr(slash + 1);
  std::string pattern = dir + "." + name + ".XXXXXX";
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  const int fd = ::mkstemp(buf.data());
  if (fd < 0) {
    if (error) *error = failure(target, errno);
    return nullptr;
  }
  f->mTemp = buf.data();
  // mkstemp makes the file private; the result gets the mode a plain create would give it, or
  // keeps the one of the file it replaces.
  mode_t mode = 0;
  if (exists) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::fchmod(fd, mode);
  ::close(fd);
  f->mSlot = occupySlot(f->mTemp);
  return f;
}
#endif

PendingFile::~PendingFile() {
  if (mSlot >= 0) gUsed[mSlot] = 0;
  if (!mCommitted && !mTemp.empty()) RemoveUtf8File(mTemp.c_str());
}

void PendingFile::removeOnSignals() {
#if defined(_WIN32)
  for (int sig : {SIGINT, SIGTERM}) std::signal(sig, removeAndReraise);
#else
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) std::signal(sig, removeAndReraise);
#endif
}

std::string PendingFile::explain(std::string message) const {
  for (size_t at = message.find(mTemp); !mTemp.empty() && at != std::string::npos;
       at = message.find(mTemp, at)) {
    message.replace(at, mTemp.size(), mTarget);
    at += mTarget.size();
  }
  return message;
}

bool PendingFile::commit(std::string* error) {
  if (!RenameUtf8File(mTemp.c_str(), mTarget.c_str())) {
    if (error) *error = failure(mTarget, errno ? errno : EACCES);
    return false;
  }
  if (mSlot >= 0) gUsed[mSlot] = 0;
  mSlot = -1;
  mCommitted = true;
  return true;
}

}  // namespace qvhost
