// Loading a plug-in's library the way a DAW does: dlopen, or LoadLibraryW on Windows. (A macOS
// bundle goes through CFBundle instead, in the VST 3 module loader.)
#pragma once

#include <string>

namespace qvhost {

// The library's handle, or null with the system's reason in *why. Main thread.
void* openLibrary(const std::string& path, std::string* why);
// An exported symbol, or null. Any thread.
void* librarySymbol(void* library, const char* name);
// Unloads; a null handle is ignored. Main thread.
void closeLibrary(void* library);

}  // namespace qvhost
