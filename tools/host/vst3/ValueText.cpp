// The text a parameter value is shown with.
#include "host/vst3/ValueText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "host/vst3/Utf8Text.h"
#include "vst3/abi/ResultCodes.h"
#include "vst3/abi/UnitInfo.h"

using namespace vst3abi;

namespace qvhost {

namespace {

// The program list of the parameter's unit, else one whose id is the parameter's own, as plug-ins
// that keep a single list often number it.
std::string programName(IEditController* controller, const ParameterDescription& p, int32 index) {
  auto units = Ref<IEditController>::share(controller).query<IUnitInfo>();
  if (!units) return {};
  ProgramListID list = kNoProgramListId;
  const int32 count = std::min<int32>(units->getUnitCount(), 1024);
  for (int32 i = 0; i < count; ++i) {
    UnitInfo info{};
    if (units->getUnitInfo(i, &info) == kResultOk && info.id == p.unitId) list = info.programListId;
  }
  for (ProgramListID id : {list, static_cast<ProgramListID>(p.id)}) {
    String128 name = {};
    if (id != kNoProgramListId && units->getProgramName(id, index, name) == kResultOk) {
      std::string text = toUtf8(name, 128);
      if (!text.empty()) return text;
    }
  }
  return {};
}

}  // namespace

std::string valueText(const PluginInstance& plugin, const ParameterDescription& p, double normalized) {
  std::string text = plugin.displayString(p.id, normalized);
  if (!text.empty() || !plugin.controller()) return text;
  const double v = std::clamp(normalized, 0.0, 1.0);
  const auto step = static_cast<int32>(std::lround(v * std::max<int32>(p.stepCount, 0)));
  if (p.flags & ParameterInfo::kIsProgramChange) {
    text = programName(plugin.controller(), p, step);
    return text.empty() ? std::to_string(step) : text;
  }
  if (p.stepCount == 1) return step ? "on" : "off";
  if (p.stepCount > 1) return std::to_string(step);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.4g", plugin.controller()->normalizedParamToPlain(p.id, v));
  return buf;
}

}  // namespace qvhost
