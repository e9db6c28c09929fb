// ModulePath: the file of the loaded module this code is linked into (the plug-in's DLL or shared
// object, or the program itself), as a UTF-8 path.
#pragma once

#include <string>

// Absolute path, with the system's separators ('\' on Windows); empty when it cannot be found.
// Any thread.
std::string ThisModulePath();
