// The fuzz input as a file path for loaders that only take paths: an anonymous in-memory file,
// reopened through /proc, so a million runs never touch the disk.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

class FuzzFile {
 public:
  FuzzFile() {
    mFd = memfd_create("qv-fuzz", 0);
    if (mFd < 0) std::abort();
    std::snprintf(mPath, sizeof(mPath), "/proc/self/fd/%d", mFd);
  }

  // Replaces the file's contents; returns its path.
  const char* Put(const uint8_t* data, size_t size) {
    if (ftruncate(mFd, 0) != 0 || (size && pwrite(mFd, data, size, 0) != static_cast<ssize_t>(size)))
      std::abort();
    return mPath;
  }

 private:
  int mFd = -1;
  char mPath[64];
};
