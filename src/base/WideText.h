// UTF-8 text to and from the UTF-16 that Windows' wide calls take (file names, window text,
// clipboard). Windows only; any thread.
#pragma once

#if defined(_WIN32)
#include <string>

// Malformed UTF-8 comes out with U+FFFD in place of the bad bytes, never cut short.
std::wstring Utf8ToWide(const char* text);
// Unpaired surrogates come out as U+FFFD.
std::string WideToUtf8(const wchar_t* text);
#endif
