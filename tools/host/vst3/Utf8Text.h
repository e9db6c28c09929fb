// The UTF-16 text fields of the interface structs as std::string, through the shared converter.
#pragma once

#include <cstddef>
#include <string>

#include "vst3/support/Utf16.h"

namespace qvhost {

// Stops at the first zero unit or after maxUnits units, so an unterminated field is read safely;
// unpaired surrogates become U+FFFD.
inline std::string toUtf8(const char16_t* text, size_t maxUnits) {
  // A unit never takes more than three bytes (a pair, two units, takes four).
  std::string out(maxUnits * 3 + 1, '\0');
  out.resize(vstsupport::Utf16ToUtf8(text, maxUnits, &out[0], out.size()));
  return out;
}

}  // namespace qvhost
