// A VST 3 module loaded as a LoadedEffect: settings through the controller's own text conversion,
// a BlockProcessor to render through.
#pragma once

#include <memory>
#include <string>

#include "host/effect/LoadedEffect.h"
#include "host/vst3/Module.h"
#include "host/vst3/PluginInstance.h"

namespace qvhost {

// className picks an audio-effect class by name; empty takes the first.
std::unique_ptr<LoadedEffect> loadVst3Effect(const std::string& path, const std::string& className,
                                             std::string* error);

// The module and instance behind an effect loadVst3Effect made (for what only a VST 3 host does,
// such as its editor window); false for an effect of another format.
bool vst3Parts(LoadedEffect& effect, Module** module, PluginInstance** instance);

}  // namespace qvhost
