// ClapRunLoopBridge: the host's timer-support and posix-fd-support offered to the editor engine as
// an IRunLoopBridge. The plug-in forwards the host's on_timer and on_fd calls here; whatever is
// still registered when the bridge goes is unregistered. Main thread only.
#pragma once

#include "clap/abi/HostServices.h"
#include "graphics/platform/IRunLoopBridge.h"

#include <vector>

class ClapRunLoopBridge : public IRunLoopBridge {
 public:
  // Either service may be null; registering with a missing one fails.
  ClapRunLoopBridge(const clap_host_t* host, const clap_host_timer_support_t* timers,
                    const clap_host_posix_fd_support_t* fds);
  ~ClapRunLoopBridge() override;
  ClapRunLoopBridge(const ClapRunLoopBridge&) = delete;
  ClapRunLoopBridge& operator=(const ClapRunLoopBridge&) = delete;

  // One watch and one timer per client: registering again replaces the earlier one.
  bool WatchFD(int fd, Client* client) override;
  bool StartTimer(int milliseconds, Client* client) override;
  void UnwatchFD(Client* client) override;
  void StopTimer(Client* client) override;

  void OnTimer(clap_id timerId);
  void OnFD(int fd);

 private:
  struct Entry {
    Client* client;
    bool timer;
    clap_id timerId;
    int fd;
  };
  void Remove(Client* client, bool timer);

  const clap_host_t* mHost;
  const clap_host_timer_support_t* mTimers;
  const clap_host_posix_fd_support_t* mFds;
  std::vector<Entry> mEntries;
};
