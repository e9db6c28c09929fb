// How the host's commands report a failure on stderr, and the exit code that goes with it.
#pragma once

#include <cstdio>
#include <string>

namespace qvhost {

// Something went wrong while doing what was asked: exit code 1.
inline int fail(const std::string& message) {
  std::fprintf(stderr, "quorvane-host: %s\n", message.c_str());
  return 1;
}

// Something the command line asks for that cannot be done as asked: exit code 2.
inline int usageError(const std::string& message) {
  std::fprintf(stderr, "quorvane-host: %s\n", message.c_str());
  return 2;
}

}  // namespace qvhost
