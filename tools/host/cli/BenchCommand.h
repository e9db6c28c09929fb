// "quorvane-host bench": how fast a VST 3 plug-in processes, counting only the time inside its
// process call. The demo loop is synthesized into memory first; each run sets the processor up,
// sends the --set values with the first block and feeds the whole loop; one unmeasured run warms
// caches and lets smoothed parameters settle. Several bundles (or one bundle with several settings)
// are measured in one command, their runs interleaved, so that a busy machine slows them alike and
// their ratios hold.
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

// One entry per bundle named. --set, --class and --sidechain belong to the bundle named before them
// (before any bundle: to every bundle); the other options hold for all.
bool parseBenchArgs(const std::vector<std::string>& args, std::vector<BenchOptions>* out, std::string* error);
// false with the message in error when the bundle cannot be loaded or processing fails.
bool runBench(const BenchOptions& options, BenchResult* result, std::string* error);
// The entries' runs in turn: warm-up of each, then run 1 of each, run 2 of each, ... They share the
// first entry's length, rate, block size, precision and repeat count.
bool runBenchInterleaved(const std::vector<BenchOptions>& entries, std::vector<BenchResult>* results,
                         std::string* error);
// Medians of the run-by-run ratios of each entry to the first (1 for the first itself).
std::vector<double> pairedRatios(const std::vector<BenchResult>& results);

// args: everything after "bench". Returns the process exit code: 0, 1 when loading or processing
// fails, 2 for a command line that cannot be done as asked.
int runBenchCommand(const std::vector<std::string>& args);

}  // namespace qvhost
