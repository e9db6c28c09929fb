// Owning pointer to a reference-counted VST 3 object: releases on destruction, queries other
// interfaces of the same object. Used for plug-in objects and our own host objects alike.
#pragma once

#include <utility>

#include "vst3/abi/ResultCodes.h"
#include "vst3/abi/Unknown.h"

namespace qvhost {

template <class T>
class Ref {
 public:
  Ref() = default;
  Ref(const Ref& other) : mPtr(other.mPtr) {
    if (mPtr) mPtr->addRef();
  }
  Ref(Ref&& other) noexcept : mPtr(std::exchange(other.mPtr, nullptr)) {}
  ~Ref() { reset(); }

  Ref& operator=(Ref other) noexcept {
    std::swap(mPtr, other.mPtr);
    return *this;
  }

  // Takes over a reference the caller already owns (a factory result, a new object).
  static Ref adopt(T* p) {
    Ref r;
    r.mPtr = p;
    return r;
  }
  // Adds a reference of its own to a borrowed pointer.
  static Ref share(T* p) {
    if (p) p->addRef();
    return adopt(p);
  }

  void reset() {
    if (T* p = std::exchange(mPtr, nullptr)) p->release();
  }

  T* get() const { return mPtr; }
  T* operator->() const { return mPtr; }
  T& operator*() const { return *mPtr; }
  explicit operator bool() const { return mPtr != nullptr; }

  // Another interface of the same object, or empty.
  template <class U>
  Ref<U> query() const {
    void* obj = nullptr;
    if (mPtr && mPtr->queryInterface(U::iid.bytes, &obj) == vst3abi::kResultOk && obj) {
      return Ref<U>::adopt(static_cast<U*>(obj));
    }
    return Ref<U>();
  }

 private:
  T* mPtr = nullptr;
};

}  // namespace qvhost
