// Host-facing parameter description and value.
#include "vst3/support/HostParam.h"

#include "vst3/support/Utf16.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace vstsupport {

double ClampNormalized(double v) {
  if (!(v >= 0.0)) return 0.0;  // also NaN
  return v > 1.0 ? 1.0 : v;
}

HostParam::HostParam(const vst3abi::ParameterInfo& info) : mInfo(info) {
  mInfo.defaultNormalizedValue = ClampNormalized(mInfo.defaultNormalizedValue);
  if (mInfo.stepCount < 0) mInfo.stepCount = 0;
  mValue = mInfo.defaultNormalizedValue;
}

HostParam::HostParam(const char* title, vst3abi::ParamID id, const char* units, double defaultNormalized,
                     vst3abi::int32 stepCount, vst3abi::int32 flags, vst3abi::UnitID unitId) {
  mInfo.id = id;
  Utf8ToUtf16(title, mInfo.title, 128);
  Utf8ToUtf16(units, mInfo.units, 128);
  mInfo.stepCount = stepCount < 0 ? 0 : stepCount;
  mInfo.defaultNormalizedValue = ClampNormalized(defaultNormalized);
  mInfo.unitId = unitId;
  mInfo.flags = flags;
  mValue = mInfo.defaultNormalizedValue;
}

bool HostParam::setNormalized(double normalized) {
  if (std::isnan(normalized)) return false;
  const double v = ClampNormalized(normalized);
  if (v == mValue) return false;
  mValue = v;
  return true;
}

void HostParam::toString(double normalized, vst3abi::String128 out) const {
  char text[64];
  const double plain = toPlain(normalized);
  if (mInfo.stepCount > 0) {
    std::snprintf(text, sizeof text, "%d", static_cast<int>(plain));
  } else {
    std::snprintf(text, sizeof text, "%.*f", mPrecision, plain);
  }
  Utf8ToUtf16(text, out, 128);
}

bool HostParam::fromString(const vst3abi::TChar* text, double& normalized) const {
  char utf8[512];
  Utf16ToUtf8(text, 128, utf8, sizeof utf8);
  double plain = 0.0;
  if (!ParseLeadingNumber(utf8, plain)) return false;
  normalized = toNormalized(plain);
  return true;
}

double HostParam::toPlain(double normalized) const {
  const double n = ClampNormalized(normalized);
  if (mInfo.stepCount <= 0) return n;
  return std::floor(n * mInfo.stepCount + 0.5);
}

double HostParam::toNormalized(double plain) const {
  if (mInfo.stepCount <= 0) return ClampNormalized(plain);
  return ClampNormalized(plain / mInfo.stepCount);
}

bool HostParam::isTypeOf(const char* name, bool) const { return name && std::strcmp(name, "HostParam") == 0; }

}  // namespace vstsupport
