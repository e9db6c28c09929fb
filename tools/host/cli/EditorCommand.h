// "quorvane-host editor": a plug-in's editor in a window of its own, hosted the way a DAW hosts it,
// with the processor running in real time behind it (the demo loop or silence).
#pragma once

#include <memory>
#include <string>

#include "host/cli/CommandLine.h"

namespace qvhost {

class EditorWindow;
class HostRunLoop;
class PendingFile;

// The process exit code: 0 when the window was closed or the snapshot saved, 1 on failure, 2
// without a display.
int runEditor(const CommandLine& cl);

// Shared by the editor commands of both plug-in formats.
// The --snapshot file, made before anything loads and refused when it names the module the host
// reads: 0 with *out set (left empty without --snapshot), else the exit code.
int openSnapshot(const CommandLine& cl, const std::string& module, std::unique_ptr<PendingFile>* out);
// The editor's first complete picture in the window (after the demo has played, with --demo),
// written to out: 0, or 1 when none came.
int saveSnapshot(EditorWindow& window, HostRunLoop& loop, const CommandLine& cl, PendingFile& out);

}  // namespace qvhost
