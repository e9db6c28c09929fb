// The host-visible parameters of a controller, in registration order, found by index or by id.
// Owns the parameter objects.
#pragma once

#include "vst3/support/HostParam.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace vstsupport {

class ParamRegistry {
 public:
  // Takes ownership; refuses (and deletes) a parameter whose id is already registered.
  HostParam* Add(std::unique_ptr<HostParam> param);
  void Clear();

  int Count() const { return static_cast<int>(mParams.size()); }
  HostParam* GetByIndex(int idx) const { return idx >= 0 && idx < Count() ? mParams[idx].get() : nullptr; }
  HostParam* Get(vst3abi::ParamID id) const;

 private:
  std::vector<std::unique_ptr<HostParam>> mParams;
  std::unordered_map<vst3abi::ParamID, size_t> mById;
};

}  // namespace vstsupport
