// RecursiveMutex: the lock that serialises audio processing, parameter changes and state transfer.
// It is recursive because the processing call holds it while the plug-in's own hooks take it again.
#pragma once

#include <mutex>

class RecursiveMutex {
 public:
  RecursiveMutex() = default;
  RecursiveMutex(const RecursiveMutex&) = delete;
  RecursiveMutex& operator=(const RecursiveMutex&) = delete;

  void Lock() { mMutex.lock(); }
  void Unlock() { mMutex.unlock(); }

 private:
  std::recursive_mutex mMutex;
};

// Holds a RecursiveMutex for the lifetime of the guard; a null mutex is allowed and locks nothing.
class RecursiveMutexLock {
 public:
  explicit RecursiveMutexLock(RecursiveMutex* mutex) : mMutex(mutex) {
    if (mMutex) mMutex->Lock();
  }
  explicit RecursiveMutexLock(RecursiveMutex& mutex) : RecursiveMutexLock(&mutex) {}
  ~RecursiveMutexLock() {
    if (mMutex) mMutex->Unlock();
  }
  RecursiveMutexLock(const RecursiveMutexLock&) = delete;
  RecursiveMutexLock& operator=(const RecursiveMutexLock&) = delete;

 private:
  RecursiveMutex* mMutex;
};
