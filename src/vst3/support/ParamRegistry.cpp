// Parameter container of a controller.
#include "vst3/support/ParamRegistry.h"

namespace vstsupport {

HostParam* ParamRegistry::Add(std::unique_ptr<HostParam> param) {
  if (!param || mById.count(param->getId())) return nullptr;
  mParams.reserve(mParams.size() + 1);
  mById.emplace(param->getId(), mParams.size());
  mParams.push_back(std::move(param));
  return mParams.back().get();
}

void ParamRegistry::Clear() {
  mById.clear();
  mParams.clear();
}

HostParam* ParamRegistry::Get(vst3abi::ParamID id) const {
  const auto it = mById.find(id);
  return it == mById.end() ? nullptr : mParams[it->second].get();
}

}  // namespace vstsupport
