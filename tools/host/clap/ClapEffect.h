// A CLAP plug-in loaded as a LoadedEffect, and its command-line settings.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/clap/ClapPlugin.h"
#include "host/effect/LoadedEffect.h"

namespace qvhost {

// name picks a plug-in by name or id; empty takes the first.
std::unique_ptr<LoadedEffect> loadClapEffect(const std::string& path, const std::string& name,
                                             std::string* error);

// The plug-in behind an effect loadClapEffect made (for what only a CLAP host does, such as its
// editor window); null for an effect of another format.
ClapPlugin* clapPlugin(LoadedEffect& effect);

// "Title=value" (or "id=value") through the plug-in's own text parsing; false with a message for
// an unknown, ambiguous or read-only parameter or a value the plug-in does not take.
bool resolveClapSetting(const ClapPlugin& plugin, const std::vector<ClapParameter>& params,
                        const std::string& arg, EffectSetting* out, std::string* error);

}  // namespace qvhost
