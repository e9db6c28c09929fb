// Quorvane's identity for the adapters, from the values generated out of QuorvaneIdentity.cmake.
#include "plugin/QuorvaneIdentity.h"
#include "framework/PluginIdentity.h"
#include "plugin/QuorvaneIdentityCodes.h"

namespace {

const char* const kClapFeatures[] = {QV_ID_CLAP_FEATURES, nullptr};

}  // namespace

const PluginIdentity& GetPluginIdentity() {
  static const PluginIdentity identity = {
      QV_ID_NAME,
      QV_ID_DESCRIPTION,
      QV_ID_VENDOR,
      QV_ID_URL,
      QV_ID_EMAIL,
      QV_ID_VERSION,
      QV_ID_PACKED_VERSION,
      QV_ID_BUNDLE_ID,
      QV_ID_BUNDLE_ID,
      {QV_ID_CLASS_WORD1, QV_ID_CLASS_WORD2, static_cast<uint32_t>(quorvaneid::kMakerCode),
       static_cast<uint32_t>(quorvaneid::kPluginCode)},
      QV_ID_VST3_SUBCATEGORIES,
      kClapFeatures,
      quorvaneid::kMakerCode,
      quorvaneid::kPluginCode,
  };
  return identity;
}
