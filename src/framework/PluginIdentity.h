// What a plug-in tells hosts about itself: names, version, identifiers and categories. The plug-in
// supplies it once; the API adapters and their module entry points read it, so they hold nothing of
// any one product.
#pragma once

#include <cstdint>

struct PluginIdentity {
  const char* name;
  const char* description;
  const char* vendor;
  const char* url;
  const char* email;
  const char* version;  // "major.minor.bugfix"
  int packedVersion;    // major << 16 | minor << 8 | bugfix
  // Reverse-domain identifier: the macOS bundle identifier and the CLAP plug-in id.
  const char* bundleId;
  const char* clapId;
  // VST 3 class identifier as four words (the adapter lays them out in the platform's byte order).
  uint32_t vst3ClassWords[4];
  const char* vst3SubCategories;
  const char* const* clapFeatures;  // null-terminated
  int makerCode;                    // four characters, first in the most significant byte
  int pluginCode;                   // likewise
};

// Supplied by the plug-in; any thread, constant for the life of the process.
const PluginIdentity& GetPluginIdentity();
