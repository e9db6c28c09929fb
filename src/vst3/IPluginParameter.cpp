// Framework parameter presented to the host.
#include "vst3/IPluginParameter.h"

#include "vst3/support/Utf16.h"

#include <cstring>

using namespace vst3abi;
using vstsupport::ClampNormalized;

namespace {

ParameterInfo DescribeParam(const IParam* p, ParamID tag, UnitID unitId) {
  ParameterInfo info{};
  info.id = tag;
  info.unitId = unitId;
  info.defaultNormalizedValue = ClampNormalized(p->GetDefaultNormalized());
  info.stepCount = p->GetType() == IParam::kParamDouble ? 0 : IParam::TruncToInt(p->GetMax() - p->GetMin());
  if (info.stepCount < 0) info.stepCount = 0;
  if (p->GetType() == IParam::kParamNone) {
    // Declared but never initialised: nothing to show, edit or automate.
    vstsupport::Utf8ToUtf16("Reserved", info.title, 128);
    info.flags = ParameterInfo::kIsReadOnly | ParameterInfo::kIsHidden;
  } else {
    vstsupport::Utf8ToUtf16(p->GetNameForHost(), info.title, 128);
    vstsupport::Utf8ToUtf16(p->GetLabelForHost(), info.units, 128);
    info.flags = p->GetCanAutomate() ? ParameterInfo::kCanAutomate : 0;
  }
  return info;
}

}  // namespace

IPluginParameter::IPluginParameter(IParam* param, ParamID tag, UnitID unitId)
    : HostParam(DescribeParam(param, tag, unitId)), mParam(param) {
  setPrecision(param->GetPrecision());
}

void ParamDisplayForHost(const IParam* param, double normalized, String128 out) {
  char text[IParam::kDisplayBufSize] = "";
  param->GetDisplayForHost(ClampNormalized(normalized), true, text, true, sizeof text);
  vstsupport::Utf8ToUtf16(text, out, 128);
}

void IPluginParameter::toString(double normalized, String128 out) const {
  ParamDisplayForHost(mParam, normalized, out);
}

bool IPluginParameter::fromString(const TChar* text, double& normalized) const {
  char utf8[512];
  vstsupport::Utf16ToUtf8(text, 128, utf8, sizeof utf8);
  double plain = 0.0;
  if (!vstsupport::ParseLeadingNumber(utf8, plain)) plain = 0.0;
  normalized = ClampNormalized(mParam->GetNormalized(plain));
  return true;
}

double IPluginParameter::toPlain(double normalized) const {
  return mParam->GetNonNormalized(ClampNormalized(normalized));
}

double IPluginParameter::toNormalized(double plain) const {
  return ClampNormalized(mParam->GetNormalized(plain));
}

bool IPluginParameter::isTypeOf(const char* name, bool askBase) const {
  if (name && std::strcmp(name, "IPluginParameter") == 0) return true;
  return askBase && HostParam::isTypeOf(name, true);
}
