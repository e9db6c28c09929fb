// The maker and plug-in codes as the framework takes them: four characters packed into an int,
// the first in the most significant byte.
#pragma once

#include "plugin/QuorvaneIdentity.h"

namespace quorvaneid {

constexpr int FourCC(const char (&c)[5]) {
  return static_cast<int>((static_cast<unsigned>(c[0]) << 24) | (static_cast<unsigned>(c[1]) << 16) |
                          (static_cast<unsigned>(c[2]) << 8) | static_cast<unsigned>(c[3]));
}

constexpr int kMakerCode = FourCC(QV_ID_MAKER_CODE);
constexpr int kPluginCode = FourCC(QV_ID_PLUGIN_CODE);

}  // namespace quorvaneid
