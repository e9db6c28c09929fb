// "quorvane-host bench": how fast a VST 3 plug-in processes, counting only the time inside its
// process call. The demo loop is synthesized into memory first; each run sets the processor up,
// sends the --set values with the first block and feeds the whole loop; one unmeasured run warms
// caches and lets smoothed parameters settle.
#pragma once

#include <string>
#include <vector>

namespace qvhost {

struct BenchOptions {
  std::string bundle;
  std::string className;  // --class: pick an audio-effect class by name
  double seconds = 10;
  double rate = 48000;
  int block = 512;
  int precision = 32;
  std::vector<std::string> sets;
  int repeat = 5;
  bool sidechain = false;  // feed the demo loop to the first aux input as well
};

struct BenchResult {
  std::string className;
  std::vector<double> realtime;  // audio seconds over seconds inside process, one per run
  double median() const;
  double slowest() const;
};

bool parseBenchArgs(const std::vector<std::string>& args, BenchOptions* out, std::string* error);
// false with the message in error when the bundle cannot be loaded or processing fails.
bool runBench(const BenchOptions& options, BenchResult* result, std::string* error);

// args: everything after "bench". Returns the process exit code: 0, 1 when loading or processing
// fails, 2 for a command line that cannot be done as asked.
int runBenchCommand(const std::vector<std::string>& args);

}  // namespace qvhost
