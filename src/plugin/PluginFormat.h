// The plug-in format one build of Quorvane's sources targets: the same sources are compiled once
// per format, each time on that format's adapter (QV_PLUGIN_FORMAT_CLAP selects CLAP, otherwise
// VST 3), with the adapter's module hooks.
#pragma once

#if defined(QV_PLUGIN_FORMAT_CLAP)
#include "clap/IPluginCLAP.h"
#include "clap/PluginModule.h"
using PluginFormatBase = IPluginCLAP;
#else
#include "vst3/IPluginVST3.h"
#include "vst3/PluginModule.h"
using PluginFormatBase = IPluginVST3;
#endif
