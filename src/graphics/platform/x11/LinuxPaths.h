// Where things are on a Linux desktop: the host executable, the plug-in bundle, the user's home,
// desktop and configuration folders, and which bundle resource an image name stands for.
#pragma once

#include <string>

// /proc/self/exe resolved; "" when unreadable.
std::string HostExecutablePath();
// The bundle holding the module this code is linked into (<bundle>/Contents/<arch>/<module>), or
// the module's own folder outside a bundle; "" when unknown.
std::string ModuleBundlePath();
// $HOME, else the password database's home; "" when neither is known.
std::string HomeDirectory();
// The absolute path in the environment variable, else home + "/" + fallback.
std::string XdgDirectory(const char* variable, const char* fallbackUnderHome);
// The resource file an image name stands for: its last path component when its extension is
// "png" in any letter case, else "".
std::string PNGResourceName(const char* name);
