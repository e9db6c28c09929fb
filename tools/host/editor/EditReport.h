// The edits a user finishes in a VST 3 editor, reported as the host reads them back from the
// plug-in: one line each on a stream, so a person or a test watching the host sees them at once.
#pragma once

#include <cstdio>

namespace qvhost {

class PluginInstance;

// Turns on the handler's gesture log; call before the editor opens (host's main thread).
void startEditReport(PluginInstance& plugin);
// One line per gesture ended since the last call:
//   edited "Make-Up Gain" (id 4) = 4.89 (normalized 0.326087)
// with the controller's value now. Host's main thread.
void reportFinishedEdits(PluginInstance& plugin, FILE* out);

}  // namespace qvhost
