// An output file that appears only when it is complete.
#include "host/cli/PendingFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace qvhost {

namespace {

std::string failure(const std::string& path, int err) {
  return "cannot write '" + path + "': " + std::strerror(err);
}

// Temporary paths a signal handler may remove: fixed storage, since it can only call unlink.
constexpr int kSlots = 8;
char gPaths[kSlots][PATH_MAX];
volatile std::sig_atomic_t gUsed[kSlots];

void removeAndReraise(int sig) {
  for (int i = 0; i < kSlots; ++i) {
    if (gUsed[i]) ::unlink(gPaths[i]);
  }
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

}  // namespace

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
  for (int i = 0; i < kSlots && f->mTemp.size() < PATH_MAX; ++i) {
    if (gUsed[i]) continue;
    std::memcpy(gPaths[i], f->mTemp.c_str(), f->mTemp.size() + 1);
    gUsed[i] = 1;
    f->mSlot = i;
    break;
  }
  return f;
}

PendingFile::~PendingFile() {
  if (mSlot >= 0) gUsed[mSlot] = 0;
  if (!mCommitted && !mTemp.empty()) ::unlink(mTemp.c_str());
}

void PendingFile::removeOnSignals() {
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) std::signal(sig, removeAndReraise);
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
  if (::rename(mTemp.c_str(), mTarget.c_str()) != 0) {
    if (error) *error = failure(mTarget, errno);
    return false;
  }
  if (mSlot >= 0) gUsed[mSlot] = 0;
  mSlot = -1;
  mCommitted = true;
  return true;
}

}  // namespace qvhost
