// Reference book-keeping for the module entry points.
#include "vst3/ModuleRefs.h"

bool ModuleRefs::Enter(void* ref) noexcept {
  if (!ref) return true;
  try {
    mRefs.reserve(mRefs.size() + 1);
  } catch (...) {
    return false;
  }
  if (mRetain) mRetain(ref);
  mRefs.push_back(ref);
  ++mCounter;
  if (!mModuleHandle) mModuleHandle = ref;
  return true;
}

bool ModuleRefs::Exit() noexcept {
  if (mCounter <= 0) return false;
  if (--mCounter > 0) return true;
  for (void* ref : mRefs) {
    if (mRelease) mRelease(ref);
  }
  mRefs.clear();
  return true;
}
