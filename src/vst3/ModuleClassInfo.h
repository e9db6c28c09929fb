// What the module tells hosts about its maker and its one class. The class identifier is four
// words: two fixed for the product, then the maker code and the plug-in code, each packed with the
// first character in the most significant byte.
#pragma once

#include <cstdint>

namespace moduleinfo {

constexpr uint32_t GUID_DATA1 = 0x5A3C9E17;
constexpr uint32_t GUID_DATA2 = 0xB4D2417F;
constexpr uint32_t GUID_DATA3 = 0x546D776B;  // "Tmwk"
constexpr uint32_t GUID_DATA4 = 0x51767231;  // "Qvr1"

constexpr const char* kVendor = "Tallowmarkworks";
constexpr const char* kVendorUrl = "https://www.tallowmarkworks.com";
constexpr const char* kVendorEmail = "support@tallowmarkworks.com";
constexpr const char* kClassName = "Quorvane";
constexpr const char* kSubCategories = "Fx|Dynamics";
constexpr const char* kVersion = "1.1.0";
constexpr const char* kSdkVersion = "VST 3.6.12";

}  // namespace moduleinfo
