// The class factory a module hands to the host: the maker's information, the classes it can
// create with their descriptions (8-bit and UTF-16), and instance creation by class identifier.
#pragma once

#include "vst3/abi/Factory.h"

#include <atomic>
#include <vector>

namespace vstsupport {

class ClassFactory : public vst3abi::IPluginFactory3 {
 public:
  using tresult = vst3abi::tresult;
  using int32 = vst3abi::int32;
  using uint32 = vst3abi::uint32;
  // Returns a new object with one reference, or null.
  using CreateFunc = vst3abi::FUnknown* (*)(void* context);
  // Called once from the destructor, e.g. to forget a module-wide pointer to this factory.
  using DestroyHook = void (*)(ClassFactory* factory);

  // The Unicode flag is always set: every class is also described in UTF-16.
  explicit ClassFactory(const vst3abi::PFactoryInfo& info, DestroyHook onDestroy = nullptr);
  virtual ~ClassFactory();
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  // False when the class identifier is already registered or no creation function is given.
  bool registerClass(const vst3abi::PClassInfo2& info, CreateFunc create, void* context = nullptr);

  tresult VST3ABI_CALL queryInterface(const vst3abi::TUID iid, void** obj) override;
  uint32 VST3ABI_CALL addRef() override;
  uint32 VST3ABI_CALL release() override;

  tresult VST3ABI_CALL getFactoryInfo(vst3abi::PFactoryInfo* info) override;
  int32 VST3ABI_CALL countClasses() override;
  tresult VST3ABI_CALL getClassInfo(int32 index, vst3abi::PClassInfo* info) override;
  tresult VST3ABI_CALL createInstance(vst3abi::FIDString cid, vst3abi::FIDString iid, void** obj) override;
  tresult VST3ABI_CALL getClassInfo2(int32 index, vst3abi::PClassInfo2* info) override;
  tresult VST3ABI_CALL getClassInfoUnicode(int32 index, vst3abi::PClassInfoW* info) override;
  tresult VST3ABI_CALL setHostContext(vst3abi::FUnknown* context) override;

  uint32 RefCount() const { return mRefCount.load(std::memory_order_relaxed); }

 private:
  struct Entry {
    vst3abi::PClassInfo2 info;
    CreateFunc create;
    void* context;
  };
  const Entry* Find(int32 index) const;

  std::atomic<uint32> mRefCount{1};
  vst3abi::PFactoryInfo mInfo;
  std::vector<Entry> mClasses;
  vst3abi::FUnknown* mHostContext = nullptr;
  DestroyHook mOnDestroy;
};

}  // namespace vstsupport
