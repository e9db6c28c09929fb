// IRunLoopBridge: the host's UI-thread event loop as a platform window needs it on systems
// without a global one (X11): watch a file descriptor and run a periodic timer, both delivered
// on the host's UI thread. The VST 3 view adapts the host's run loop to this; the engine knows
// nothing of VST 3.
#pragma once

class IRunLoopBridge {
 public:
  class Client {
   public:
    virtual ~Client() = default;
    virtual void OnFDReady(int fd) = 0;
    virtual void OnTimer() = 0;
  };

  virtual ~IRunLoopBridge() = default;
  // Each returns false when the host refused; the client is called until the matching Unwatch.
  virtual bool WatchFD(int fd, Client* client) = 0;
  virtual bool StartTimer(int milliseconds, Client* client) = 0;
  virtual void UnwatchFD(Client* client) = 0;
  virtual void StopTimer(Client* client) = 0;
};
