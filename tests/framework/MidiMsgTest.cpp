// IMidiMsg construction and decoding, ISysEx dumps.
#include "framework/IMidiMsg.h"
#include "framework/ISysEx.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

TEST(IMidiMsg, NotesAndChannels) {
  IMidiMsg m;
  m.MakeNoteOnMsg(60, 100, 17, 3);
  EXPECT_EQ(m.mStatus, 0x93);
  EXPECT_EQ(m.mOffset, 17);
  EXPECT_EQ(m.StatusMsg(), IMidiMsg::kNoteOn);
  EXPECT_EQ(m.Channel(), 3);
  EXPECT_EQ(m.NoteNumber(), 60);
  EXPECT_EQ(m.Velocity(), 100);
  EXPECT_EQ(m.Program(), -1);
  EXPECT_EQ(m.PitchWheel(), 0.0);

  m.MakeNoteOffMsg(61, 5, 15);
  EXPECT_EQ(m.mStatus, 0x8F);
  EXPECT_EQ(m.mData2, 0);
  EXPECT_EQ(m.Velocity(), 0);

  m = IMidiMsg(0, 0xA1, 64, 33);
  EXPECT_EQ(m.NoteNumber(), 64);
  EXPECT_EQ(m.PolyAfterTouch(), 33);
  EXPECT_EQ(m.Velocity(), -1);
  m = IMidiMsg(0, 0xD0, 12, 0);
  EXPECT_EQ(m.ChannelAfterTouch(), 12);
  m = IMidiMsg(0, 0xC0, 5, 0);
  EXPECT_EQ(m.Program(), 5);

  m = IMidiMsg(0, 0xF8, 1, 2);
  EXPECT_EQ(m.StatusMsg(), IMidiMsg::kNone);
  EXPECT_EQ(m.NoteNumber(), -1);
  m.Clear();
  EXPECT_EQ(m.mStatus, 0);
}

TEST(IMidiMsg, PitchWheelRangeAndLimits) {
  IMidiMsg m;
  m.MakePitchWheelMsg(0.0, 0);
  EXPECT_EQ(m.mStatus, 0xE0);
  EXPECT_EQ(m.mData1, 0x00);
  EXPECT_EQ(m.mData2, 0x40);
  EXPECT_EQ(m.PitchWheel(), 0.0);
  m.MakePitchWheelMsg(1.0, 0);
  EXPECT_EQ(m.mData1, 0x7F);
  EXPECT_EQ(m.mData2, 0x7F);
  m.MakePitchWheelMsg(-1.0, 1);
  EXPECT_EQ(m.PitchWheel(), -1.0);
  m.MakePitchWheelMsg(-5.0, 0);
  EXPECT_EQ(m.mData1 | m.mData2, 0);
  m.MakePitchWheelMsg(1e12, 0);
  EXPECT_EQ(m.mData2, 0x7F);
  m.MakePitchWheelMsg(std::numeric_limits<double>::quiet_NaN(), 0);
  EXPECT_EQ(m.mData1 | m.mData2, 0);
}

TEST(IMidiMsg, ControlChange) {
  IMidiMsg m;
  m.MakeControlChangeMsg(static_cast<IMidiMsg::EControlChangeMsg>(7), 1.0, 2);
  EXPECT_EQ(m.mStatus, 0xB2);
  EXPECT_EQ(m.mData1, 7);
  EXPECT_EQ(m.mData2, 127);
  EXPECT_EQ(m.ControlChange(IMidiMsg::kChannelVolume), 1.0);
  EXPECT_EQ(m.ControlChange(static_cast<IMidiMsg::EControlChangeMsg>(8)), -1.0);
  EXPECT_EQ(m.ControlChangeIdx(), 7);
  m.MakeControlChangeMsg(IMidiMsg::kModWheel, 0.5, 0);
  EXPECT_EQ(m.mData2, 63);
}

TEST(IMidiMsg, StatusTexts) {
  EXPECT_STREQ(IMidiMsg::StatusMsgStr(IMidiMsg::kNone), "none");
  EXPECT_STREQ(IMidiMsg::StatusMsgStr(static_cast<IMidiMsg::EStatusMsg>(3)), "unknown");
  EXPECT_STREQ(IMidiMsg::StatusMsgStr(IMidiMsg::kPolyAftertouch), "aftertouch");
  EXPECT_STREQ(IMidiMsg::StatusMsgStr(IMidiMsg::kPitchWheel), "pitchwheel");
  EXPECT_STREQ(IMidiMsg::StatusMsgStr(static_cast<IMidiMsg::EStatusMsg>(15)), "unknown");
}

TEST(ISysEx, HexDumpIsBoundedByMaxLen) {
  const uint8_t data[] = {0xF0, 0x7E, 0xF7};
  char out[16];
  EXPECT_STREQ(SysExStr(out, 8, data, 3), "F0 7E");
  EXPECT_STREQ(SysExStr(out, sizeof(out), data, 3), "F0 7E F7");
  EXPECT_STREQ(SysExStr(out, sizeof(out), nullptr, 3), "");
  EXPECT_STREQ(SysExStr(out, sizeof(out), data, 0), "");
  EXPECT_STREQ(SysExStr(out, 2, data, 3), "");

  ISysEx s(4, data, 3);
  s.Clear();
  EXPECT_EQ(s.mData, nullptr);
  EXPECT_EQ(s.mSize, 0);
}
