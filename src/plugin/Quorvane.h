// Quorvane: the stereo bus compressor plug-in. Declares identity, channels and parameters to the
// framework, turns parameter values into the DSP settings, and runs the signal chain per block.
#pragma once

#include "plugin/PluginFormat.h"
#include "plugin/QuorvaneChain.h"
#include "plugin/QuorvaneParams.h"
#include "plugin/QuorvaneSettings.h"

#include <cstddef>

// The parameter indices come with the class (Quorvane::kBoost) from QuorvaneParams.
class Quorvane : public PluginFormatBase, public QuorvaneParams {
 public:
  explicit Quorvane(IPluginInstanceInfo instanceInfo);
  ~Quorvane() override;

  // The chain's work buffers are cache-line aligned, and macOS before 10.14 has no aligned operator
  // new: the plug-in object gets the alignment it needs from these.
  static void* operator new(std::size_t size);
  static void operator delete(void* p) noexcept;

  void Reset() override;
  void OnParamChange(int paramIdx) override;
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override;

  const QuorvaneSettings& Settings() const { return mSettings; }
  const QuorvaneChain& Chain() const { return mChain; }
  // Index of the gain-reduction meter in the editor's control list.
  int MeterIdx() const { return mMeterIdx; }

 private:
  static void SendMeter(void* self, const double* levels, int count);
  QuorvaneSwitches ReadSwitches() const;

  QuorvaneSettings mSettings;
  QuorvaneChain mChain;
  int mMeterIdx = -1;
};
