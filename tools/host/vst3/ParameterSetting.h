// Turning a command-line "Title=value" (or "id=value") into a parameter id and normalized value
// the way a user means it: the value as the parameter displays it, converted by the plug-in's own
// controller, refused when ambiguous, unknown, read-only or out of range.
#pragma once

#include <string>
#include <vector>

#include "host/vst3/PluginInstance.h"

namespace qvhost {

struct ParameterSetting {
  std::string key;    // title or numeric id
  std::string value;  // as displayed
};

struct ResolvedSetting {
  vst3abi::ParamID id = vst3abi::kNoParamId;
  std::string title;
  double normalized = 0;
  std::string display;  // the plug-in's text for the resolved value
};

// Splits at the first '='; both sides must be non-empty after trimming.
bool splitSetting(const std::string& arg, ParameterSetting* out, std::string* error);

bool resolveSetting(const PluginInstance& plugin, const std::vector<ParameterDescription>& params,
                    const ParameterSetting& setting, ResolvedSetting* out, std::string* error);

}  // namespace qvhost
