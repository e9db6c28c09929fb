// IMidiMsg construction and decoding.
#include "framework/IMidiMsg.h"

namespace {
uint8_t StatusByte(int kind, int channel) { return static_cast<uint8_t>((kind << 4) | (channel & 0x0F)); }

int HighNibble(uint8_t status) { return status >> 4; }
}  // namespace

void IMidiMsg::MakeNoteOnMsg(int noteNumber, int velocity, int offset, int channel) {
  Clear();
  mStatus = StatusByte(kNoteOn, channel);
  mData1 = static_cast<uint8_t>(noteNumber);
  mData2 = static_cast<uint8_t>(velocity);
  mOffset = offset;
}

void IMidiMsg::MakeNoteOffMsg(int noteNumber, int offset, int channel) {
  Clear();
  mStatus = StatusByte(kNoteOff, channel);
  mData1 = static_cast<uint8_t>(noteNumber);
  mOffset = offset;
}

void IMidiMsg::MakePitchWheelMsg(double value, int channel) {
  Clear();
  mStatus = StatusByte(kPitchWheel, channel);
  double scaled = value * 8192.0;
  // Limit before converting so that out-of-range or NaN input cannot overflow the cast.
  int v;
  if (!(scaled > -8192.0))
    v = 0;
  else if (scaled >= 8192.0)
    v = 16383;
  else
    v = static_cast<int>(scaled) + 8192;
  mData1 = static_cast<uint8_t>(v & 0x7F);
  mData2 = static_cast<uint8_t>(v >> 7);
}

void IMidiMsg::MakeControlChangeMsg(EControlChangeMsg idx, double value, int channel) {
  Clear();
  mStatus = StatusByte(kControlChange, channel);
  mData1 = static_cast<uint8_t>(idx);
  double scaled = value * 127.0;
  int v = scaled >= 0.0 ? (scaled <= 127.0 ? static_cast<int>(scaled) : 127) : 0;
  mData2 = static_cast<uint8_t>(v);
}

IMidiMsg::EStatusMsg IMidiMsg::StatusMsg() const {
  if (mStatus >= 0x80 && mStatus <= 0xEF) return static_cast<EStatusMsg>(HighNibble(mStatus));
  return kNone;
}

int IMidiMsg::NoteNumber() const {
  switch (StatusMsg()) {
    case kNoteOn:
    case kNoteOff:
    case kPolyAftertouch:
      return mData1;
    default:
      return -1;
  }
}

int IMidiMsg::Velocity() const {
  switch (StatusMsg()) {
    case kNoteOn:
    case kNoteOff:
      return mData2;
    default:
      return -1;
  }
}

int IMidiMsg::PolyAfterTouch() const { return HighNibble(mStatus) == kPolyAftertouch ? mData2 : -1; }

int IMidiMsg::ChannelAfterTouch() const { return HighNibble(mStatus) == kChannelAftertouch ? mData1 : -1; }

int IMidiMsg::Program() const { return HighNibble(mStatus) == kProgramChange ? mData1 : -1; }

double IMidiMsg::PitchWheel() const {
  if (HighNibble(mStatus) != kPitchWheel) return 0.0;
  int v = mData2 * 128 + mData1 - 8192;
  return static_cast<double>(v) / 8192.0;
}

double IMidiMsg::ControlChange(EControlChangeMsg idx) const {
  if (HighNibble(mStatus) == kControlChange && mData1 == static_cast<int>(idx))
    return static_cast<double>(mData2) / 127.0;
  return -1.0;
}

const char* IMidiMsg::StatusMsgStr(EStatusMsg msg) {
  switch (static_cast<int>(msg)) {
    case kNone:
      return "none";
    case kNoteOff:
      return "noteoff";
    case kNoteOn:
      return "noteon";
    case kPolyAftertouch:
      return "aftertouch";
    case kControlChange:
      return "controlchange";
    case kProgramChange:
      return "programchange";
    case kChannelAftertouch:
      return "channelaftertouch";
    case kPitchWheel:
      return "pitchwheel";
    default:
      return "unknown";
  }
}
