// The text the info command prints: factory and classes, then for one audio-effect class its
// busses, processing abilities and parameters with the plug-in's own display strings.
#pragma once

#include <cstdio>

#include "host/vst3/Module.h"
#include "host/vst3/PluginInstance.h"

namespace qvhost {

void printModuleInfo(std::FILE* out, const Module& module);
// Sets up processing at 48 kHz once to read latency and tail; leaves the instance inactive.
void printInstanceInfo(std::FILE* out, PluginInstance& plugin);

}  // namespace qvhost
