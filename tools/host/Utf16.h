// UTF-8 <-> UTF-16 conversion for the fixed-size strings the plug-in interfaces exchange.
#pragma once

#include <cstddef>
#include <string>

namespace qvhost {

// Stops at the first zero unit or after maxUnits units, whichever comes first, so an unterminated
// buffer from a plug-in is read safely. Unpaired surrogates become U+FFFD.
std::string toUtf8(const char16_t* text, size_t maxUnits);
std::u16string toUtf16(const std::string& utf8);
// Writes at most capacity - 1 units and a terminator; truncates between characters.
void copyUtf16(const std::string& utf8, char16_t* out, size_t capacity);
// Bounded copy of a fixed 8-bit field that may lack its terminator.
std::string fixedString(const char* field, size_t size);

}  // namespace qvhost
