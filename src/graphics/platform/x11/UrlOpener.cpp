// Launching xdg-open.
#include "graphics/platform/x11/UrlOpener.h"

#include <spawn.h>
#include <sys/wait.h>
#include <algorithm>
#include <mutex>
#include <vector>

extern char** environ;

namespace {
std::mutex& PendingMutex() {
  static std::mutex m;
  return m;
}

std::vector<pid_t>& Pending() {
  static std::vector<pid_t> pids;
  return pids;
}
}  // namespace

void ReapFinishedOpeners() {
  std::lock_guard<std::mutex> lock(PendingMutex());
  auto& pids = Pending();
  // A host that reaps every child itself leaves ECHILD here: that one is gone too.
  pids.erase(
      std::remove_if(pids.begin(), pids.end(), [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; }),
      pids.end());
}

bool OpenWithDesktop(const char* url) {
  // A leading "-" would reach the opener as an option.
  if (!url || !*url || *url == '-') return false;
  ReapFinishedOpeners();
  char program[] = "xdg-open";
  char* argv[] = {program, const_cast<char*>(url), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) return false;
  std::lock_guard<std::mutex> lock(PendingMutex());
  Pending().push_back(pid);
  return true;
}
