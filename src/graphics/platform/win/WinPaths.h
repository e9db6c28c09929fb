// Where things are on Windows, as UTF-8 paths with backslashes: the host program, the plug-in
// module and its bundle, the shell's folders. Any thread.
#pragma once

#include <string>

// The program's file, "" when unknown. Long and non-ASCII names are whole.
std::string ProgramFileName();
// The folder a plug-in lives in, with a trailing "\": the folder holding the bundle for a module
// at <bundle>\Contents\<arch>\<file>, else the module's own folder. "" for a name without folder.
std::string PluginFolderOf(const std::string& moduleFile);
// A shell folder by its CSIDL number (CSIDL_DESKTOPDIRECTORY...); "" when the shell has none.
std::string ShellFolder(int csidl);
// The last component of a PNG image's name ("png" in any letter case), else "".
std::string PNGLeafName(const char* name);
