// A VST 3 module loaded as a LoadedEffect: settings through the controller's own text conversion,
// a BlockProcessor to render through.
#pragma once

#include <memory>
#include <string>

#include "host/effect/LoadedEffect.h"

namespace qvhost {

// className picks an audio-effect class by name; empty takes the first.
std::unique_ptr<LoadedEffect> loadVst3Effect(const std::string& path, const std::string& className,
                                             std::string* error);

}  // namespace qvhost
