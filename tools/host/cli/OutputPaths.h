// Refuses a run whose output is also one of its inputs, or two outputs that are one file: writing
// would truncate a file while it is read. Files are compared by device and inode, so links and
// other spellings of a path are caught too.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace qvhost {

// Empty paths are skipped. False with a message naming both arguments.
bool outputsAreDistinct(const std::vector<std::pair<std::string, std::string>>& outputs,
                        const std::vector<std::pair<std::string, std::string>>& inputs, std::string* error);

}  // namespace qvhost
