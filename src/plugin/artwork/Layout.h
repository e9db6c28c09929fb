// Where every film strip sits on the 664 x 662 editor, its frame size and frame count, and what
// each knob's scale reads. The plug-in's editor places its controls at these same points.
#pragma once

#include <vector>

constexpr int kEditorW = 664, kEditorH = 662;
constexpr int kKnobSize = 92;
constexpr int kSwitchW = 70, kSwitchH = 36;
constexpr int kMeterW = 280, kMeterH = 170;
constexpr int kMeterX = 92, kMeterY = 57;
constexpr int kContinuousFrames = 121;
constexpr int kMeterFrames = 211;

// A scale position on a knob: fraction of the sweep, and its legend (null for a minor tick).
struct ScaleMark {
  double fraction;
  const char* label;
};

struct KnobSpec {
  const char* file;  // strip name without ".png"
  int x, y;          // top-left of the frame on the editor
  int frames;
  const char* name;  // legend above the knob
  const char* unit;  // small legend in the gap under the knob
  std::vector<ScaleMark> marks;
};

struct SwitchSpec {
  const char* file;
  int x, y;
  const char* legend;  // printed on the button cap
};

const std::vector<KnobSpec>& Knobs();
const std::vector<SwitchSpec>& Switches();
