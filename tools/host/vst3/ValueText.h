// The text a parameter value is shown with: the plug-in's own display string, or where it gives
// none, the host's: a program change as the plug-in's program name, a switch as "off"/"on", a step
// as its index, anything else as its plain value.
#pragma once

#include <string>

#include "host/vst3/PluginInstance.h"

namespace qvhost {

std::string valueText(const PluginInstance& plugin, const ParameterDescription& p, double normalized);

}  // namespace qvhost
