// "quorvane-host info" for a CLAP plug-in (process, bench and editor go through LoadedEffect).
#pragma once

#include <cstdio>

#include <string>
#include <vector>

#include "host/clap/ClapPlugin.h"
#include "host/cli/CommandLine.h"

namespace qvhost {

int runClapInfo(const CommandLine& cl);

void printClapInfo(std::FILE* out, const ClapPlugin& plugin);

}  // namespace qvhost
