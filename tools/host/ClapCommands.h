// "quorvane-host info" and "editor" for a CLAP plug-in (process and bench go through LoadedEffect).
#pragma once

#include <cstdio>

#include <string>
#include <vector>

#include "ClapPlugin.h"
#include "CommandLine.h"
#include "LoadedEffect.h"

namespace qvhost {

int runClapInfo(const CommandLine& cl);
// Needs an X display; built where the host has editor support.
int runClapEditor(const CommandLine& cl);

void printClapInfo(std::FILE* out, const ClapPlugin& plugin);
// "Title=value" (or "id=value") through the plug-in's own text parsing; false with a message for
// an unknown, ambiguous or read-only parameter or a value the plug-in does not take.
bool resolveClapSetting(const ClapPlugin& plugin, const std::vector<ClapParameter>& params,
                        const std::string& arg, EffectSetting* out, std::string* error);

}  // namespace qvhost
