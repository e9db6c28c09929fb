// Finished edits, read back from the controller.
#include "host/editor/EditReport.h"

#include <string>
#include <vector>

#include "host/vst3/ComponentHandler.h"
#include "host/vst3/PluginInstance.h"

namespace qvhost {

void startEditReport(PluginInstance& plugin) { plugin.handler().logGestures(true); }

void reportFinishedEdits(PluginInstance& plugin, FILE* out) {
  const std::vector<ComponentHandler::Gesture> gestures = plugin.handler().takeGestures();
  if (gestures.empty() || !plugin.controller()) return;
  const std::vector<ParameterDescription> params = plugin.parameters();
  for (const ComponentHandler::Gesture& g : gestures) {
    if (g.kind != ComponentHandler::Gesture::kEnd) continue;
    const double value = plugin.controller()->getParamNormalized(g.id);
    std::string title;
    for (const ParameterDescription& p : params)
      if (p.id == g.id) title = p.title;
    std::fprintf(out, "edited \"%s\" (id %u) = %s (normalized %.6f)\n", title.c_str(), g.id,
                 plugin.displayString(g.id, value).c_str(), value);
  }
  std::fflush(out);
}

}  // namespace qvhost
