// The host's command line: "info BUNDLE", "process BUNDLE --out ..." and "editor BUNDLE" with
// their options, checked completely before anything is loaded.
#pragma once

#include <string>
#include <vector>

#include "host/audio/AudioFileFormat.h"

namespace qvhost {

struct CommandLine {
  enum class Command { Help, Version, Info, Process, Editor };

  Command command = Command::Help;
  std::string bundle;
  std::string className;  // --class: pick an audio-effect class by name
  std::string out;
  std::string in;
  bool demo = false;
  double demoSeconds = 0;
  std::string sidechain;
  std::vector<std::string> sets;
  int block = 512;
  int precision = 32;
  double rate = 48000;
  bool rateGiven = false;
  std::string stateIn;
  std::string stateOut;
  AudioFileFormat outFormat;  // from --out's extension and --format
  std::string snapshot;       // editor: save the first complete picture here and quit
  double scale = 0;           // editor: content scale factor handed to the view; 0 = none
};

// No arguments at all is a mistake too: the caller shows the usage.
bool parseCommandLine(const std::vector<std::string>& args, CommandLine* out, std::string* error);
std::string usageText();

}  // namespace qvhost
