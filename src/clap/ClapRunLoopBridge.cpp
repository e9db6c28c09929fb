// The host's timers and descriptor watches for the editor engine.
#include "clap/ClapRunLoopBridge.h"

#include <algorithm>

ClapRunLoopBridge::ClapRunLoopBridge(const clap_host_t* host, const clap_host_timer_support_t* timers,
                                     const clap_host_posix_fd_support_t* fds)
    : mHost(host), mTimers(timers), mFds(fds) {}

ClapRunLoopBridge::~ClapRunLoopBridge() {
  while (!mEntries.empty()) Remove(mEntries.back().client, mEntries.back().timer);
}

bool ClapRunLoopBridge::WatchFD(int fd, Client* client) {
  if (!client || fd < 0 || !mFds || !mFds->register_fd) return false;
  Remove(client, false);
  try {
    mEntries.reserve(mEntries.size() + 1);
  } catch (...) {
    return false;
  }
  if (!mFds->register_fd(mHost, fd, CLAP_POSIX_FD_READ | CLAP_POSIX_FD_ERROR)) return false;
  mEntries.push_back(Entry{client, false, CLAP_INVALID_ID, fd});
  return true;
}

bool ClapRunLoopBridge::StartTimer(int milliseconds, Client* client) {
  if (!client || milliseconds <= 0 || !mTimers || !mTimers->register_timer) return false;
  Remove(client, true);
  try {
    mEntries.reserve(mEntries.size() + 1);
  } catch (...) {
    return false;
  }
  clap_id id = CLAP_INVALID_ID;
  if (!mTimers->register_timer(mHost, static_cast<uint32_t>(milliseconds), &id) || id == CLAP_INVALID_ID)
    return false;
  mEntries.push_back(Entry{client, true, id, -1});
  return true;
}

void ClapRunLoopBridge::UnwatchFD(Client* client) { Remove(client, false); }

void ClapRunLoopBridge::StopTimer(Client* client) { Remove(client, true); }

void ClapRunLoopBridge::Remove(Client* client, bool timer) {
  auto it = std::find_if(mEntries.begin(), mEntries.end(),
                         [&](const Entry& e) { return e.client == client && e.timer == timer; });
  if (it == mEntries.end()) return;
  const Entry entry = *it;
  mEntries.erase(it);
  if (entry.timer) {
    if (mTimers && mTimers->unregister_timer) mTimers->unregister_timer(mHost, entry.timerId);
  } else if (mFds && mFds->unregister_fd) {
    mFds->unregister_fd(mHost, entry.fd);
  }
}

// A client may unregister itself (or another) from inside its callback, so the entry is looked up
// afresh each time rather than iterated over.
void ClapRunLoopBridge::OnTimer(clap_id timerId) {
  for (const Entry& e : mEntries) {
    if (e.timer && e.timerId == timerId) {
      e.client->OnTimer();
      return;
    }
  }
}

void ClapRunLoopBridge::OnFD(int fd) {
  for (const Entry& e : mEntries) {
    if (!e.timer && e.fd == fd) {
      e.client->OnFDReady(fd);
      return;
    }
  }
}
