// What a path names, for finding plug-in libraries; paths are UTF-8 on every system.
#pragma once

#include <string>

namespace qvhost {

// Any thread.
bool isDirectory(const std::string& path);
bool isRegularFile(const std::string& path);
// The absolute form of a path (symbolic links resolved where the system has them); the path itself
// when it cannot be resolved. A plug-in finds its resources from its own module's path, which must
// not depend on the working directory.
std::string absolutePath(const std::string& path);
// True for '/' and, on Windows, '\'.
bool isPathSeparator(char c);

}  // namespace qvhost
