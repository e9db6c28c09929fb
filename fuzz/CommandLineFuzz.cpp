// Fuzzes the host's command-line parser with argument lists split at NUL bytes: any list is
// either refused with a message or accepted with values the host can use.
#include "host/cli/CommandLine.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args(1);
  for (size_t i = 0; i < size; i++) {
    if (data[i] == 0)
      args.emplace_back();
    else
      args.back() += static_cast<char>(data[i]);
  }
  qvhost::CommandLine cl;
  std::string error;
  if (!qvhost::parseCommandLine(args, &cl, &error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  if (cl.command == qvhost::CommandLine::Command::Process &&
      (cl.block <= 0 || !(cl.rate > 0) || !std::isfinite(cl.rate) || (cl.demo && !(cl.demoSeconds > 0))))
    std::abort();
  return 0;
}
