// Host-facing parameter description and value.
#include "vst3/support/HostParam.h"

#include "vst3/support/Utf16.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vstsupport {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double ClampNormalized(double v) {
  if (!(v >= 0.0)) return 0.0;  // also NaN
  return v > 1.0 ? 1.0 : v;
}

bool ParseLeadingNumber(const char* text, double& value) {
  if (!text) return false;
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  // Only plain decimal forms: no "inf", "nan" or hex digits.
  if (!(IsDigit(*p) || (*p == '.' && IsDigit(p[1])))) return false;

  // The digits are handed to strtod without a decimal point (the one character that depends on
  // the locale), the point moved into the exponent: strtod rounds correctly and so stays exact.
  // 800 significant digits decide the rounding of any double; a non-zero digit beyond them is kept
  // as a final 1 so that a value just above a halfway point still rounds up.
  constexpr int kMaxDigits = 800;
  char digits[kMaxDigits + 2 + 24];
  int n = 0;
  long exponent = 0;
  bool dropped = false;
  bool seenPoint = false;
  for (;; ++p) {
    if (*p == '.' && !seenPoint) {
      seenPoint = true;
      continue;
    }
    if (!IsDigit(*p)) break;
    if (n == 0 && *p == '0') {
      if (seenPoint) --exponent;
      continue;
    }
    if (n < kMaxDigits) {
      digits[n++] = *p;
      if (seenPoint) --exponent;
    } else {
      dropped = dropped || *p != '0';
      if (!seenPoint) ++exponent;
    }
  }
  if (*p == 'e' || *p == 'E') {
    const char* e = p + 1;
    const bool negExp = *e == '-';
    if (*e == '+' || *e == '-') ++e;
    if (IsDigit(*e)) {
      long x = 0;
      for (; IsDigit(*e); ++e) x = x < 100000 ? x * 10 + (*e - '0') : x;  // far beyond any double
      exponent += negExp ? -x : x;
    }
  }
  double v = 0.0;
  if (n > 0) {
    if (dropped) {
      digits[n++] = '1';
      --exponent;
    }
    std::snprintf(digits + n, sizeof digits - n, "e%ld", exponent);
    v = std::strtod(digits, nullptr);
  }
  if (!std::isfinite(v)) return false;
  value = negative ? -v : v;
  return true;
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
