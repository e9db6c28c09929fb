// "quorvane-host editor": a plug-in's editor (VST 3 or CLAP) in a window of its own, hosted the way a
// DAW hosts it, with the processor running in real time behind it (the demo loop or silence).
#pragma once

#include "host/cli/CommandLine.h"

namespace qvhost {

// The process exit code: 0 when the window was closed or the snapshot saved, 1 on failure, 2
// without a display.
int runEditor(const CommandLine& cl);

}  // namespace qvhost
