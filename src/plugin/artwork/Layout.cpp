// The control table and the knob scales. Continuous scales are computed from each parameter's
// range and taper so that a legend sits exactly where the pointer shows that value.
#include "plugin/artwork/Layout.h"

#include <cmath>

// Legends use the typographic minus sign (U+2212), not the hyphen.
#define MINUS "\xE2\x88\x92"

namespace {
// Linear range: the sweep fraction of v.
double Lin(double v, double lo, double hi) { return (v - lo) / (hi - lo); }
// "HPF" has a square taper: value = lo + (hi - lo) * f^2.
double Square(double v, double lo, double hi) { return std::sqrt((v - lo) / (hi - lo)); }

std::vector<ScaleMark> Steps(std::initializer_list<const char*> labels) {
  std::vector<ScaleMark> out;
  const int n = (int)labels.size();
  int i = 0;
  for (const char* l : labels) out.push_back({(double)i++ / (n - 1), l});
  return out;
}

// Minor ticks every step from lo to hi, with the labelled values replacing their ticks.
std::vector<ScaleMark> Ticks(double lo, double hi, double step, std::initializer_list<ScaleMark> labelled) {
  std::vector<ScaleMark> out(labelled);
  const int n = (int)std::lround((hi - lo) / step);
  for (int i = 0; i <= n; i++) {
    const double f = Lin(lo + i * step, lo, hi);
    bool taken = false;
    for (const ScaleMark& m : labelled) taken = taken || std::fabs(m.fraction - f) < 1e-6;
    if (!taken) out.push_back({f, nullptr});
  }
  return out;
}
}  // namespace

const std::vector<KnobSpec>& Knobs() {
  static const std::vector<KnobSpec> knobs = [] {
    std::vector<KnobSpec> k;
    k.push_back({"THRESHOLD", 58, 271, kContinuousFrames, "THRESHOLD", "dB",
                 Ticks(-40, -5, 5,
                       {{Lin(-40, -40, -5), MINUS "40"},
                        {Lin(-30, -40, -5), MINUS "30"},
                        {Lin(-20, -40, -5), MINUS "20"},
                        {Lin(-10, -40, -5), MINUS "10"},
                        {1, MINUS "5"}})});
    k.push_back({"MAKEUP", 252, 272, kContinuousFrames, "MAKE-UP", "dB",
                 Ticks(0, 15, 1, {{0, "0"}, {Lin(5, 0, 15), "5"}, {Lin(10, 0, 15), "10"}, {1, "15"}})});
    k.push_back({"HF", 414, 272, kContinuousFrames, "HF", "dB",
                 Ticks(-10, 0, 1, {{0, MINUS "10"}, {0.5, MINUS "5"}, {1, "0"}})});
    k.push_back({"BOOST", 554, 272, kContinuousFrames, "BOOST", "dB",
                 Ticks(0, 10, 1, {{0, "0"}, {0.5, "5"}, {1, "10"}})});
    k.push_back({"ATTACK", 59, 402, 6, "ATTACK", "ms", Steps({"0.1", "0.3", "10", "30", "100", "300"})});
    k.push_back({"RELEASE", 252, 400, 5, "RELEASE", "ms", Steps({"100", "300", "600", "1.2k", "2k"})});
    k.push_back({"MID", 413, 401, kContinuousFrames, "MID", "dB",
                 Ticks(-6, 6, 1, {{0, MINUS "6"}, {0.25, MINUS "3"}, {0.5, "0"}, {0.75, "+3"}, {1, "+6"}})});
    k.push_back(
        {"TILT", 553, 401, kContinuousFrames, "TILT", "",
         Ticks(0.25, 1.25, 0.125, {{0, "0.25"}, {0.25, "0.5"}, {0.5, "0.75"}, {0.75, "1"}, {1, "1.25"}})});
    k.push_back({"RATIO", 58, 529, 6, "RATIO", ":1", Steps({"1.5", "2", "3", "4", "5", "10"})});
    k.push_back({"MIX", 252, 528, kContinuousFrames, "MIX", "%",
                 Ticks(0, 100, 10, {{0, "0"}, {0.5, "50"}, {1, "100"}})});
    std::vector<ScaleMark> hpf = {{0, "20"},
                                  {Square(50, 20, 500), "50"},
                                  {Square(100, 20, 500), "100"},
                                  {Square(200, 20, 500), "200"},
                                  {1, "500"}};
    // Minor ticks at round frequencies between the legends.
    for (double v : {30.0, 40.0, 70.0, 150.0, 300.0, 400.0}) hpf.push_back({Square(v, 20, 500), nullptr});
    k.push_back({"HPF", 413, 530, kContinuousFrames, "HPF", "Hz", hpf});
    k.push_back({"TRMIX", 553, 529, kContinuousFrames, "TR MIX", "%",
                 Ticks(0, 100, 10, {{0, "0"}, {0.5, "50"}, {1, "100"}})});
    return k;
  }();
  return knobs;
}

const std::vector<SwitchSpec>& Switches() {
  // The engage switch ("Bypass" 1 processes) reads IN: lit means the unit is in circuit.
  static const std::vector<SwitchSpec> switches = {
      {"BYPASS", 413, 124, "IN"},
      {"TURBO", 497, 124, "TURBO"},
      {"XFORMER", 581, 124, "XFORMER"},
      {"EXT", 508, 365, "EXT SC"},
  };
  return switches;
}
