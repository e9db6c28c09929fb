// IParam: one automatable parameter. Stores the plain value with its range, step, shape and display
// rules, and converts between plain values and the normalized 0..1 values hosts and controls use.
#pragma once

#include "base/TypedBuf.h"

#include <atomic>

class IParam {
 public:
  enum EParamKind : int {
    kParamNone = 0,
    kParamBool = 1,
    kParamInt = 2,
    kParamEnum = 3,
    kParamDouble = 4,
  };

  static constexpr int kMaxStrLen = 32;        // name, label, group, display text incl. terminator
  static constexpr int kDisplayBufSize = 128;  // display strings written by GetDisplayForHost

  struct DisplayText {
    int mValue;
    char mText[kMaxStrLen];
  };

  IParam() = default;
  ~IParam() = default;
  IParam(const IParam&) = delete;
  IParam& operator=(const IParam&) = delete;

  void InitBool(const char* name, bool defaultVal, const char* label = "", const char* group = "");
  void InitEnum(const char* name, int defaultVal, int nEnums, const char* label = "", const char* group = "");
  void InitInt(const char* name, int defaultVal, int minVal, int maxVal, const char* label = "",
               const char* group = "");
  void InitDouble(const char* name, double defaultVal, double minVal, double maxVal, double step,
                  const char* label = "", const char* group = "", double shape = 1.0);

  void SetDisplayText(int value, const char* text);
  void SetShape(double shape);
  void SetValue(double plain);
  void SetCanAutomate(bool canAutomate) { mCanAutomate = canAutomate; }
  void SetNegateDisplay(bool negate) { mNegateDisplay = negate; }

  double DBToAmp() const;

  void SetNormalized(double normalized);
  double GetNormalized() const { return GetNormalized(GetValue()); }
  double GetNormalized(double plain) const;
  double GetNonNormalized(double normalized) const;
  double GetDefaultNormalized() const { return GetNormalized(mDefault); }

  // Writes at most outSize bytes including the terminator (the default suits a 128-byte buffer).
  void GetDisplayForHost(double value, bool normalized, char* out, bool withDisplayText = true,
                         int outSize = kDisplayBufSize) const;
  void GetDisplayForHost(char* out, bool withDisplayText = true, int outSize = kDisplayBufSize) const {
    GetDisplayForHost(GetValue(), false, out, withDisplayText, outSize);
  }

  const char* GetDisplayText(int value) const;
  int GetNDisplayTexts() const { return mDisplayTexts.GetSize(); }
  // "" for an index out of range (valueOut is then left alone).
  const char* GetDisplayTextAtIdx(int idx, int* valueOut = nullptr) const;
  bool MapDisplayText(const char* text, int* valueOut) const;

  const char* GetNameForHost() const { return mName; }
  const char* GetLabelForHost() const;
  const char* GetParamGroupForHost() const { return mParamGroup; }
  void GetBounds(double* minVal, double* maxVal) const;

  double GetValue() const { return mValue.load(std::memory_order_relaxed); }
  int GetInt() const;
  bool GetBool() const { return GetValue() >= 0.5; }
  EParamKind GetType() const { return mType; }
  double GetDefault() const { return mDefault; }
  double GetMin() const { return mMin; }
  double GetMax() const { return mMax; }
  double GetRange() const { return mMax - mMin; }
  double GetStep() const { return mStep; }
  double GetShape() const { return mShape; }
  int GetPrecision() const { return mDisplayPrecision; }
  bool GetCanAutomate() const { return mCanAutomate; }
  bool GetNegateDisplay() const { return mNegateDisplay; }

  // Double to int truncated toward zero, saturating instead of overflowing; NaN gives 0.
  static int TruncToInt(double v);

 private:
  void SetStrings(const char* name, const char* label, const char* group);
  void SetKind(EParamKind kind);
  void StoreValue(double v) { mValue.store(v, std::memory_order_relaxed); }

  EParamKind mType = kParamNone;
  // Written by the host's controller thread without the plug-in lock while the audio thread reads.
  std::atomic<double> mValue{0.0};
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mShape = 1.0;
  double mDefault = 0.0;
  int mDisplayPrecision = 0;
  char mName[kMaxStrLen] = "";
  char mLabel[kMaxStrLen] = "";
  char mParamGroup[kMaxStrLen] = "";
  bool mNegateDisplay = false;
  bool mCanAutomate = true;
  TypedBuf<DisplayText> mDisplayTexts{static_cast<int>(8 * sizeof(DisplayText))};
};
