// IPluginParameter: one framework parameter as the host sees it. Its description is taken from the
// IParam at registration; every conversion between normalized values, plain values and text is
// delegated to the IParam, which remains the value of record.
//
// Threads: the host's main thread (the controller's calls), without the plug-in's mutex.
#pragma once

#include "framework/IParam.h"
#include "vst3/support/HostParam.h"

// The parameter's display text for a normalized value, clamped so the plain value stays in range and
// its text in the buffer.
void ParamDisplayForHost(const IParam* param, double normalized, vst3abi::String128 out);

class IPluginParameter : public vstsupport::HostParam {
 public:
  // A parameter the plug-in never initialised is shown as hidden, read-only "Reserved".
  IPluginParameter(IParam* param, vst3abi::ParamID tag, vst3abi::UnitID unitId);

  void toString(double normalized, vst3abi::String128 out) const override;
  // A leading number is read as a plain value; a text without one reads as 0. Always succeeds.
  bool fromString(const vst3abi::TChar* text, double& normalized) const override;
  double toPlain(double normalized) const override;
  double toNormalized(double plain) const override;

  const char* isA() const override { return "IPluginParameter"; }
  bool isTypeOf(const char* name, bool askBase = true) const override;

  IParam* GetParam() const { return mParam; }

 private:
  IParam* mParam;  // owned by the plug-in
};
