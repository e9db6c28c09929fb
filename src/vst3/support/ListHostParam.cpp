// Text-list parameter.
#include "vst3/support/ListHostParam.h"

#include "vst3/support/Utf16.h"

#include <cmath>
#include <cstring>

namespace vstsupport {

ListHostParam::ListHostParam(const char* title, vst3abi::ParamID id, const char* units, vst3abi::int32 flags,
                             vst3abi::UnitID unitId)
    : HostParam(title, id, units, 0.0, 0, flags | vst3abi::ParameterInfo::kIsList, unitId) {}

void ListHostParam::appendEntry(const char* text) {
  mEntries.emplace_back(text ? text : "");
  mInfo.stepCount = entryCount() - 1;
}

void ListHostParam::toString(double normalized, vst3abi::String128 out) const {
  const int idx = static_cast<int>(toPlain(normalized));
  Utf8ToUtf16(idx >= 0 && idx < entryCount() ? mEntries[idx].c_str() : "", out, 128);
}

bool ListHostParam::fromString(const vst3abi::TChar* text, double& normalized) const {
  char utf8[512];
  Utf16ToUtf8(text, 128, utf8, sizeof utf8);
  for (int i = 0; i < entryCount(); ++i) {
    if (mEntries[i] == utf8) {
      normalized = toNormalized(i);
      return true;
    }
  }
  return false;
}

double ListHostParam::toPlain(double normalized) const {
  if (mInfo.stepCount <= 0) return 0.0;
  return std::floor(ClampNormalized(normalized) * mInfo.stepCount + 0.5);
}

double ListHostParam::toNormalized(double plain) const {
  if (mInfo.stepCount <= 0) return 0.0;
  return ClampNormalized(plain / mInfo.stepCount);
}

bool ListHostParam::isTypeOf(const char* name, bool askBase) const {
  if (name && std::strcmp(name, "ListHostParam") == 0) return true;
  return askBase && HostParam::isTypeOf(name, true);
}

}  // namespace vstsupport
