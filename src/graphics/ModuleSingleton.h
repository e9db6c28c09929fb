// ModuleSingleton: one process-wide object, created on first use and destroyed on demand at module
// exit. Never a static object: its destructor would run at unload after the layers it relies on
// (fonts need the GDI layer's own statics), and a heap object left behind at unload is a leak.
#pragma once

#include <mutex>

template <class T>
class ModuleSingleton {
 public:
  static T& Get() {
    std::lock_guard<std::mutex> lock(Lock());
    if (!sInstance) sInstance = new T;
    return *sInstance;
  }

  // Safe when nothing was ever created; the next Get starts afresh.
  static void Destroy() {
    std::lock_guard<std::mutex> lock(Lock());
    delete sInstance;
    sInstance = nullptr;
  }

 private:
  static std::mutex& Lock() {
    static std::mutex sLock;
    return sLock;
  }
  static inline T* sInstance = nullptr;
};
