// HostRunLoopBridge: the host's Linux run loop (IRunLoop) offered to the editor engine as an
// IRunLoopBridge. Each watch or timer is a small reference-counted handler object registered with
// the host; the host may keep its own references, so a handler outlives its registration and
// merely goes quiet once unregistered. Everything runs on the host's UI thread.
#pragma once

#include "graphics/platform/IRunLoopBridge.h"
#include "vst3/abi/RunLoop.h"

#include <vector>

class HostRunLoopBridge : public IRunLoopBridge {
 public:
  // Null when the object offers no run loop.
  static HostRunLoopBridge* Create(vst3abi::FUnknown* source);

  explicit HostRunLoopBridge(vst3abi::IRunLoop* runLoop);
  // Unregisters whatever is still registered, so no host callback can reach a closed window.
  ~HostRunLoopBridge() override;
  HostRunLoopBridge(const HostRunLoopBridge&) = delete;
  HostRunLoopBridge& operator=(const HostRunLoopBridge&) = delete;

  // One watch and one timer per client: registering again replaces the earlier one.
  bool WatchFD(int fd, Client* client) override;
  bool StartTimer(int milliseconds, Client* client) override;
  void UnwatchFD(Client* client) override;
  void StopTimer(Client* client) override;

  int NRegistrations() const { return static_cast<int>(mEntries.size()); }

 private:
  class Handler;
  struct Entry {
    Client* client;
    bool timer;
    Handler* handler;
  };

  void Remove(Client* client, bool timer);
  // Makes a handler for the client and hands it to the host; false when the host refuses.
  template <class RegisterWithHost>
  bool Register(Client* client, bool timer, RegisterWithHost registerWithHost);

  vst3abi::IRunLoop* mRunLoop;
  std::vector<Entry> mEntries;
};
