// loadEffect: the process and bench commands' one entry to both loaders.
#pragma once

#include <memory>
#include <string>

#include "host/effect/LoadedEffect.h"

namespace qvhost {

// A .clap file goes to the CLAP loader, anything else to the VST 3 one. className picks a class
// (VST 3) or plug-in (CLAP, by name or id); empty takes the first.
std::unique_ptr<LoadedEffect> loadEffect(const std::string& path, const std::string& className,
                                         std::string* error);

}  // namespace qvhost
