// A parameter whose values are a list of texts ("off", "on"): entry i is the normalized value
// i / (entries - 1), and text conversion goes through the entries, not through numbers.
#pragma once

#include "vst3/support/HostParam.h"

#include <string>
#include <vector>

namespace vstsupport {

class ListHostParam : public HostParam {
 public:
  // The list flag is added to the flags given; the step count follows the entries.
  ListHostParam(const char* title, vst3abi::ParamID id, const char* units, vst3abi::int32 flags,
                vst3abi::UnitID unitId);

  void appendEntry(const char* text);
  int entryCount() const { return static_cast<int>(mEntries.size()); }

  void toString(double normalized, vst3abi::String128 out) const override;
  // Exact (case-sensitive) match against the entries; false for any other text.
  bool fromString(const vst3abi::TChar* text, double& normalized) const override;
  double toPlain(double normalized) const override;
  double toNormalized(double plain) const override;

  const char* isA() const override { return "ListHostParam"; }
  bool isTypeOf(const char* name, bool askBase = true) const override;

 private:
  std::vector<std::string> mEntries;
};

}  // namespace vstsupport
