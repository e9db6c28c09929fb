// IMidiMsg: a short MIDI message with its sample offset inside the current block.
#pragma once

#include <cstdint>

struct IMidiMsg {
  enum EStatusMsg : int {
    kNone = 0,
    kNoteOff = 8,
    kNoteOn = 9,
    kPolyAftertouch = 10,
    kControlChange = 11,
    kProgramChange = 12,
    kChannelAftertouch = 13,
    kPitchWheel = 14,
  };

  // The controller number of a control change (0-127). Both enumerations have a fixed int base so
  // that any byte read from a message is a valid value, named or not.
  enum EControlChangeMsg : int {
    kModWheel = 1,
    kBreathController = 2,
    kFootController = 4,
    kPortamentoTime = 5,
    kChannelVolume = 7,
    kBalance = 8,
    kPan = 10,
    kExpressionController = 11,
    kSustainOnOff = 64,
    kAllSoundOff = 120,
    kAllNotesOff = 123,
  };

  int32_t mOffset = 0;
  uint8_t mStatus = 0;
  uint8_t mData1 = 0;
  uint8_t mData2 = 0;

  IMidiMsg() = default;
  IMidiMsg(int offset, uint8_t status, uint8_t data1, uint8_t data2)
      : mOffset(offset), mStatus(status), mData1(data1), mData2(data2) {}

  void Clear() {
    mOffset = 0;
    mStatus = mData1 = mData2 = 0;
  }

  void MakeNoteOnMsg(int noteNumber, int velocity, int offset, int channel = 0);
  void MakeNoteOffMsg(int noteNumber, int offset, int channel = 0);
  void MakePitchWheelMsg(double value, int channel = 0);
  void MakeControlChangeMsg(EControlChangeMsg idx, double value, int channel = 0);

  int Channel() const { return mStatus & 0x0F; }
  EStatusMsg StatusMsg() const;
  int NoteNumber() const;
  int Velocity() const;
  int PolyAfterTouch() const;
  int ChannelAfterTouch() const;
  int Program() const;
  double PitchWheel() const;
  EControlChangeMsg ControlChangeIdx() const { return static_cast<EControlChangeMsg>(mData1); }
  double ControlChange(EControlChangeMsg idx) const;

  void LogMsg() const {}

  static const char* StatusMsgStr(EStatusMsg msg);
};
