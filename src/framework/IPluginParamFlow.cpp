// Parameter flow: the order of calls that keeps parameter, DSP, editor and host in agreement.
#include "framework/IPlugin.h"

void IPlugin::SetParameterFromGUI(int idx, double normalizedValue) {
  RecursiveMutexLock lock(mMutex);
  IParam* param = GetParam(idx);
  if (!param) return;
  param->SetNormalized(normalizedValue);
  // The host hears the value exactly as the control sent it, not the quantised one.
  InformHostOfParamChange(idx, normalizedValue);
  OnParamChange(idx);
}

void IPlugin::OnParamReset() {
  for (int i = 0, n = GetParamCount(); i < n; ++i) OnParamChange(i);
}

void IPlugin::RedrawParamControls() {
  if (!mEditor) return;
  for (int i = 0, n = GetParamCount(); i < n; ++i)
    mEditor->SetParameterFromPlug(i, GetParam(i)->GetValue(), false);
}

void IPlugin::DirtyParameters() {
  RecursiveMutexLock lock(mMutex);
  for (int i = 0, n = GetParamCount(); i < n; ++i) InformHostOfParamChange(i, GetParam(i)->GetNormalized());
}
