// "quorvane-host info" and "editor" for a CLAP plug-in (process and bench go through LoadedEffect).
#pragma once

#include <cstdio>

#include <string>
#include <vector>

#include "host/clap/ClapPlugin.h"
#include "host/cli/CommandLine.h"

namespace qvhost {

int runClapInfo(const CommandLine& cl);
// Needs an X display; built where the host has editor support.
int runClapEditor(const CommandLine& cl);

void printClapInfo(std::FILE* out, const ClapPlugin& plugin);

}  // namespace qvhost
