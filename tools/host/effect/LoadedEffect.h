// LoadedEffect: one effect instance as the process and bench commands use it, whatever its
// plug-in format: settings from the command line, the state file, a processor to render through.
// Each format's loader implements it; loadEffect (cli/EffectLoader.h) picks the loader by the path.
#pragma once

#include <memory>
#include <string>

#include "host/effect/EffectProcessor.h"
#include "host/effect/StateFile.h"

namespace qvhost {

// A command-line "Title=value" resolved against the instance.
struct EffectSetting {
  uint32_t id = 0;
  std::string title;
  double value = 0;     // in the processor's terms (see EffectProcessor::queueParameter)
  std::string display;  // the plug-in's text for the value
};

class LoadedEffect {
 public:
  virtual ~LoadedEffect() = default;

  // The name hosts list the effect under.
  virtual std::string name() const = 0;
  // False with a message for a state of another plug-in or one the plug-in refuses.
  virtual bool loadState(const PluginState& state, std::string* error) = 0;
  virtual bool saveState(PluginState* state, std::string* error) = 0;
  // Resolves and shows the value the way a DAW's automation lane would; false for a mistake on
  // the command line.
  virtual bool resolveSetting(const std::string& arg, EffectSetting* out, std::string* error) = 0;
  // Warns when a switch meant to listen to the sidechain is on while no sidechain is fed.
  virtual void warnAboutIdleSidechain() const = 0;
  // A processor for this instance; it must go before the instance does.
  virtual std::unique_ptr<EffectProcessor> makeProcessor() = 0;
};

}  // namespace qvhost
