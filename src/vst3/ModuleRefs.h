// Book-keeping of the references a host hands to the module entry: each one is retained once and
// all are released when the last matching exit arrives. The retain/release hooks are the platform's
// (bundle references on macOS; nothing to retain for a Linux library handle).
#pragma once

#include <cstddef>
#include <vector>

class ModuleRefs {
 public:
  using RefHook = void (*)(void* ref);

  ModuleRefs(RefHook retain, RefHook release) : mRetain(retain), mRelease(release) {}

  // Records a non-null reference; a null one records nothing. False only when it could not be kept.
  bool Enter(void* ref) noexcept;
  // Matches one Enter; the last one releases every reference held. An exit without a matching
  // entry changes nothing and answers false.
  bool Exit() noexcept;

  int Count() const { return mCounter; }
  size_t Held() const { return mRefs.size(); }
  // The first reference ever received; kept for the life of the process.
  void* ModuleHandle() const { return mModuleHandle; }

 private:
  RefHook mRetain;
  RefHook mRelease;
  int mCounter = 0;
  std::vector<void*> mRefs;
  void* mModuleHandle = nullptr;
};
