// EffectEditor: a loaded effect's editor embedded in a window of the host's own, whatever the
// plug-in's format (VST 3 through EditorHost, CLAP through the gui extension), with the effect's
// timers and descriptor watches on the host's run loop. The one place that tells the formats apart
// for the editor, as loadEffect is for loading.
#pragma once

#include <memory>
#include <string>

#include "host/editor/EditorWindow.h"
#include "host/effect/LoadedEffect.h"
#include "host/vst3/HostRunLoop.h"

namespace qvhost {

class EffectEditor {
 public:
  virtual ~EffectEditor() = default;
  virtual EditorWindow& window() = 0;
};

// On the host's main thread (the run loop's). Null with a message when the effect has no embeddable
// X11 editor. A scale above 0 is handed to
// the editor before its size is asked, as a host on a scaled screen does. The editor takes the run
// loop from the effect again when it goes, which must be before the effect and the loop do.
std::unique_ptr<EffectEditor> openEffectEditor(LoadedEffect& effect, HostRunLoop& loop, double scale,
                                               std::string* error);

}  // namespace qvhost
