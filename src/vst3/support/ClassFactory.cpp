// Class factory of a module.
#include "vst3/support/ClassFactory.h"

#include "vst3/abi/ResultCodes.h"
#include "vst3/support/Utf16.h"

#include <cstring>

using namespace vst3abi;

namespace vstsupport {

namespace {

// The fields every form of class description shares, taken from the full 8-bit one.
template <class Info>
void DescribeCommon(const PClassInfo2& from, Info* to) {
  std::memset(to, 0, sizeof *to);
  std::memcpy(to->cid, from.cid, sizeof to->cid);
  to->cardinality = from.cardinality;
  std::memcpy(to->category, from.category, sizeof to->category);
}

}  // namespace

ClassFactory::ClassFactory(const PFactoryInfo& info, DestroyHook onDestroy)
    : mInfo(info), mOnDestroy(onDestroy) {
  mInfo.flags |= PFactoryInfo::kUnicode;
}

ClassFactory::~ClassFactory() {
  if (mHostContext) mHostContext->release();
  if (mOnDestroy) mOnDestroy(this);
}

bool ClassFactory::registerClass(const PClassInfo2& info, CreateFunc create, void* context) {
  if (!create) return false;
  for (const Entry& e : mClasses)
    if (std::memcmp(e.info.cid, info.cid, sizeof info.cid) == 0) return false;
  try {
    mClasses.push_back(Entry{info, create, context});
  } catch (...) {
    return false;
  }
  return true;
}

tresult ClassFactory::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  *obj = nullptr;
  if (!iid) return kNoInterface;
  if (uidEquals(iid, FUnknown::iid) || uidEquals(iid, IPluginFactory::iid) ||
      uidEquals(iid, IPluginFactory2::iid) || uidEquals(iid, IPluginFactory3::iid)) {
    addRef();
    *obj = static_cast<IPluginFactory3*>(this);
    return kResultOk;
  }
  return kNoInterface;
}

uint32 ClassFactory::addRef() { return mRefCount.fetch_add(1, std::memory_order_relaxed) + 1; }

uint32 ClassFactory::release() {
  const uint32 left = mRefCount.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (left == 0) delete this;
  return left;
}

const ClassFactory::Entry* ClassFactory::Find(int32 index) const {
  return index >= 0 && index < static_cast<int32>(mClasses.size()) ? &mClasses[index] : nullptr;
}

tresult ClassFactory::getFactoryInfo(PFactoryInfo* info) {
  if (!info) return kInvalidArgument;
  *info = mInfo;
  return kResultOk;
}

int32 ClassFactory::countClasses() { return static_cast<int32>(mClasses.size()); }

tresult ClassFactory::getClassInfo(int32 index, PClassInfo* info) {
  const Entry* e = Find(index);
  if (!e || !info) return kInvalidArgument;
  DescribeCommon(e->info, info);
  std::memcpy(info->name, e->info.name, sizeof info->name);
  return kResultOk;
}

tresult ClassFactory::getClassInfo2(int32 index, PClassInfo2* info) {
  const Entry* e = Find(index);
  if (!e || !info) return kInvalidArgument;
  *info = e->info;
  return kResultOk;
}

tresult ClassFactory::getClassInfoUnicode(int32 index, PClassInfoW* info) {
  const Entry* e = Find(index);
  if (!e || !info) return kInvalidArgument;
  DescribeCommon(e->info, info);
  info->classFlags = e->info.classFlags;
  std::memcpy(info->subCategories, e->info.subCategories, sizeof info->subCategories);
  // The 8-bit fields are not guaranteed to be terminated when they fill their width.
  auto widen = [](const char* src, size_t srcSize, char16_t* dst, size_t dstUnits) {
    char tmp[PClassInfo2::kSubCategoriesSize + 1];
    const size_t n = strnlen(src, srcSize);
    std::memcpy(tmp, src, n);
    tmp[n] = 0;
    Utf8ToUtf16(tmp, dst, dstUnits);
  };
  widen(e->info.name, sizeof e->info.name, info->name, PClassInfo::kNameSize);
  widen(e->info.vendor, sizeof e->info.vendor, info->vendor, PClassInfo2::kVendorSize);
  widen(e->info.version, sizeof e->info.version, info->version, PClassInfo2::kVersionSize);
  widen(e->info.sdkVersion, sizeof e->info.sdkVersion, info->sdkVersion, PClassInfo2::kVersionSize);
  return kResultOk;
}

tresult ClassFactory::createInstance(FIDString cid, FIDString iid, void** obj) {
  if (!obj) return kInvalidArgument;
  *obj = nullptr;
  if (!cid || !iid) return kInvalidArgument;
  for (const Entry& e : mClasses) {
    if (std::memcmp(e.info.cid, cid, sizeof e.info.cid) != 0) continue;
    FUnknown* instance = e.create(e.context);
    if (!instance) return kOutOfMemory;
    const tresult result = instance->queryInterface(iid, obj);
    instance->release();
    if (result != kResultOk) {
      *obj = nullptr;
      return kNoInterface;
    }
    return kResultOk;
  }
  return kNoInterface;
}

tresult ClassFactory::setHostContext(FUnknown* context) {
  if (context) context->addRef();
  if (mHostContext) mHostContext->release();
  mHostContext = context;
  return kResultOk;
}

}  // namespace vstsupport
