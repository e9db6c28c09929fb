// A parameter as the host sees it: its description record, its current normalized value and the
// conversions between normalized values, plain values and text. The plain base maps a parameter
// with n steps onto the integers 0..n and a continuous one onto 0..1; subclasses bring their own
// mapping (a list of texts, or a framework parameter).
#pragma once

#include "base/ParseLeadingNumber.h"

#include "vst3/abi/EditController.h"

namespace vstsupport {

class HostParam {
 public:
  explicit HostParam(const vst3abi::ParameterInfo& info);
  // title and units are 8-bit texts; precision is the number of decimals shown by toString.
  HostParam(const char* title, vst3abi::ParamID id, const char* units, double defaultNormalized,
            vst3abi::int32 stepCount, vst3abi::int32 flags, vst3abi::UnitID unitId);
  virtual ~HostParam() = default;
  HostParam(const HostParam&) = delete;
  HostParam& operator=(const HostParam&) = delete;

  const vst3abi::ParameterInfo& getInfo() const { return mInfo; }
  vst3abi::ParameterInfo& getInfo() { return mInfo; }
  vst3abi::ParamID getId() const { return mInfo.id; }

  // Clamps into 0..1 and ignores NaN; true when the stored value changed.
  virtual bool setNormalized(double normalized);
  double getNormalized() const { return mValue; }

  virtual void toString(double normalized, vst3abi::String128 out) const;
  // Reads a leading number as a plain value; false when the text holds none.
  virtual bool fromString(const vst3abi::TChar* text, double& normalized) const;
  virtual double toPlain(double normalized) const;
  virtual double toNormalized(double plain) const;

  int getPrecision() const { return mPrecision; }
  void setPrecision(int precision) { mPrecision = precision < 0 ? 0 : (precision > 12 ? 12 : precision); }

  virtual const char* isA() const { return "HostParam"; }
  virtual bool isTypeOf(const char* name, bool askBase = true) const;

 protected:
  vst3abi::ParameterInfo mInfo{};
  double mValue = 0.0;
  int mPrecision = 4;
};

// Normalized values that are not numbers become 0; the rest are limited to 0..1.
double ClampNormalized(double v);

using ::ParseLeadingNumber;

}  // namespace vstsupport
