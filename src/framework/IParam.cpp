// IParam: initialisation, the normalized mapping and display formatting.
#include "framework/IParam.h"

#include "base/CopyCString.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
// Parameter strings are cut to 31 characters rather than overrunning their 32-byte fields.
void CopyParamString(char* dst, const char* src) { CopyCString(dst, IParam::kMaxStrLen, src); }
}  // namespace

int IParam::TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(v);
}

void IParam::SetStrings(const char* name, const char* label, const char* group) {
  CopyParamString(mName, name);
  CopyParamString(mLabel, label);
  CopyParamString(mParamGroup, group);
}

void IParam::SetKind(EParamKind kind) {
  if (mType == kParamNone) mType = kind;
}

void IParam::InitBool(const char* name, bool defaultVal, const char* label, const char* group) {
  SetKind(kParamBool);
  SetStrings(name, label, group);
  mDefault = defaultVal ? 1.0 : 0.0;
  StoreValue(mDefault);
  mMin = 0.0;
  mMax = 1.0;
  mStep = 1.0;
  mShape = 1.0;
  mDisplayPrecision = 0;
  SetDisplayText(0, "off");
  SetDisplayText(1, "on");
}

void IParam::InitEnum(const char* name, int defaultVal, int nEnums, const char* label, const char* group) {
  SetKind(kParamEnum);
  SetStrings(name, label, group);
  mDefault = defaultVal;
  StoreValue(mDefault);
  mMin = 0.0;
  double top = static_cast<double>(nEnums) - 1.0;
  mMax = top > 1.0 ? top : 1.0;
  mStep = 1.0;
  mShape = 1.0;
  mDisplayPrecision = 0;
}

void IParam::InitInt(const char* name, int defaultVal, int minVal, int maxVal, const char* label,
                     const char* group) {
  SetKind(kParamInt);
  SetStrings(name, label, group);
  mDefault = defaultVal;
  StoreValue(mDefault);
  mMin = minVal;
  double lowest = static_cast<double>(minVal) + 1.0;
  mMax = lowest > maxVal ? lowest : static_cast<double>(maxVal);
  mStep = 1.0;
  mShape = 1.0;
  mDisplayPrecision = 0;
}

void IParam::InitDouble(const char* name, double defaultVal, double minVal, double maxVal, double step,
                        const char* label, const char* group, double shape) {
  SetKind(kParamDouble);
  SetStrings(name, label, group);
  mDefault = defaultVal;
  StoreValue(defaultVal);
  mMin = minVal;
  mMax = minVal + step > maxVal ? minVal + step : maxVal;
  mStep = step;

  // Count decimals until the step is whole; binary fractions such as 0.07 run to the limit.
  int p = 0;
  double s = step;
  while (p < 6 && std::isfinite(s) && s != std::floor(s)) {
    s *= 10.0;
    ++p;
  }
  mDisplayPrecision = p;
  SetShape(shape);
}

void IParam::SetDisplayText(int value, const char* text) {
  int n = mDisplayTexts.GetSize();
  DisplayText* texts = mDisplayTexts.Resize(n + 1, false);
  if (!texts) return;
  texts[n].mValue = value;
  CopyParamString(texts[n].mText, text);
}

void IParam::SetShape(double shape) {
  if (shape != 0.0) mShape = shape;
}

void IParam::SetValue(double plain) {
  if (std::isnan(plain)) return;
  if (plain < mMin) plain = mMin;
  if (plain > mMax) plain = mMax;
  StoreValue(plain);
}

double IParam::DBToAmp() const { return std::exp(GetValue() * 0.1151292546497); }

void IParam::SetNormalized(double normalized) {
  double v = GetNonNormalized(normalized);
  if (mType != kParamDouble) v = std::floor(v / mStep + 0.5) * mStep;
  if (v > mMax) v = mMax;
  // A NaN or -inf from the caller, or a negative value raised to a fractional shape, must not
  // become the stored value; the parameter keeps what it had.
  if (!std::isfinite(v)) return;
  StoreValue(v);
}

double IParam::GetNormalized(double plain) const {
  double range = mMax - mMin;
  if (std::isnan(plain) || !(range > 0.0)) return 0.0;
  if (plain < mMin) plain = mMin;
  if (plain > mMax) plain = mMax;
  return std::pow((plain - mMin) / range, 1.0 / mShape);
}

double IParam::GetNonNormalized(double normalized) const {
  return mMin + (mMax - mMin) * std::pow(normalized, mShape);
}

void IParam::GetDisplayForHost(double value, bool normalized, char* out, bool withDisplayText,
                               int outSize) const {
  if (!out || outSize <= 0) return;
  if (normalized) value = GetNonNormalized(value);

  if (withDisplayText && mDisplayTexts.GetSize() > 0) {
    const char* text = GetDisplayText(TruncToInt(value));
    if (text[0]) {
      CopyCString(out, static_cast<size_t>(outSize), text);
      return;
    }
  }

  if (mNegateDisplay) value = -value;

  char buf[kDisplayBufSize];
  if (mDisplayPrecision != 0)
    std::snprintf(buf, sizeof(buf), "%.*f", mDisplayPrecision, value);
  else
    std::snprintf(buf, sizeof(buf), "%d", TruncToInt(value));
  CopyCString(out, static_cast<size_t>(outSize), buf);
}

const char* IParam::GetDisplayText(int value) const {
  const DisplayText* texts = mDisplayTexts.Get();
  for (int i = 0, n = mDisplayTexts.GetSize(); i < n; ++i)
    if (texts[i].mValue == value) return texts[i].mText;
  return "";
}

const char* IParam::GetDisplayTextAtIdx(int idx, int* valueOut) const {
  if (idx < 0 || idx >= mDisplayTexts.GetSize()) return "";
  const DisplayText& dt = mDisplayTexts.Get()[idx];
  if (valueOut) *valueOut = dt.mValue;
  return dt.mText;
}

bool IParam::MapDisplayText(const char* text, int* valueOut) const {
  if (!text) return false;
  const DisplayText* texts = mDisplayTexts.Get();
  for (int i = 0, n = mDisplayTexts.GetSize(); i < n; ++i) {
    if (std::strcmp(texts[i].mText, text) == 0) {
      if (valueOut) *valueOut = texts[i].mValue;
      return true;
    }
  }
  return false;
}

const char* IParam::GetLabelForHost() const {
  if (GetDisplayText(GetInt())[0]) return "";
  return mLabel;
}

void IParam::GetBounds(double* minVal, double* maxVal) const {
  if (minVal) *minVal = mMin;
  if (maxVal) *maxVal = mMax;
}

int IParam::GetInt() const { return TruncToInt(GetValue()); }
