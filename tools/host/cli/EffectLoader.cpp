// Picks the loader by the path.
#include "host/cli/EffectLoader.h"

#include "host/clap/ClapEffect.h"
#include "host/clap/ClapModule.h"
#include "host/vst3/Vst3Effect.h"

namespace qvhost {

std::unique_ptr<LoadedEffect> loadEffect(const std::string& path, const std::string& className,
                                         std::string* error) {
  if (isClapPath(path)) return loadClapEffect(path, className, error);
  return loadVst3Effect(path, className, error);
}

}  // namespace qvhost
