// IPlugin channel configuration, connections, bus labels and the buffer paths, including the
// bypass delay line.
#include "support/FakePlugin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

TEST(IPluginChannels, ParsesTheConfigurationString) {
  FakePlugin p(FakePlugin::Bare("2-2 4-2"));
  EXPECT_EQ(p.GetInputChannelCount(), 4);
  EXPECT_EQ(p.GetOutputChannelCount(), 2);
  EXPECT_TRUE(p.LegalIO(4, 2));
  EXPECT_TRUE(p.LegalIO(2, 2));
  EXPECT_TRUE(p.LegalIO(-1, 2));
  EXPECT_TRUE(p.LegalIO(4, -1));
  EXPECT_FALSE(p.LegalIO(1, 1));
  EXPECT_FALSE(p.LegalIO(3, 2));

  FakePlugin empty(FakePlugin::Bare(""));
  EXPECT_TRUE(empty.LegalIO(0, 0));
  EXPECT_EQ(empty.GetInputChannelCount(), 0);
  EXPECT_EQ(empty.GetOutputChannelCount(), 0);

  // Unparsable parts stay 0; the number reader skips the blanks of a doubled separator.
  FakePlugin odd(FakePlugin::Bare("x-2 1-y 3-1  -1-4"));
  EXPECT_TRUE(odd.LegalIO(0, 0));
  EXPECT_TRUE(odd.LegalIO(1, 0));
  EXPECT_TRUE(odd.LegalIO(3, 1));
  EXPECT_TRUE(odd.LegalIO(-1, 4));
  EXPECT_FALSE(odd.LegalIO(0, 2));
  EXPECT_EQ(odd.GetInputChannelCount(), 3);
  EXPECT_EQ(odd.GetOutputChannelCount(), 4);

  FakePlugin huge(FakePlugin::Bare("99999999999999-2"));
  EXPECT_LE(huge.GetInputChannelCount(), 1024);
}

TEST(IPluginChannels, ConnectionsAndLabelsIgnoreOutOfRangeIndices) {
  FakePlugin p(FakePlugin::Bare());
  EXPECT_FALSE(p.IsInChannelConnected(0));
  p.SetInputChannelConnections(1, 100, true);
  EXPECT_FALSE(p.IsInChannelConnected(0));
  EXPECT_TRUE(p.IsInChannelConnected(3));
  EXPECT_FALSE(p.IsInChannelConnected(4));
  EXPECT_FALSE(p.IsInChannelConnected(-1));
  p.SetOutputChannelConnections(-3, 4, true);
  EXPECT_TRUE(p.IsOutChannelConnected(0));
  p.SetInputLabel(9, "nowhere");
  p.SetOutputLabel(-1, "nowhere");

  p.SetInputBusLabel(0, "Main");
  p.SetInputBusLabel(1, "Aux Input");
  p.SetInputBusLabel(2, "ignored");
  p.SetInputBusLabel(0, "Main Input");  // replaces in place
  EXPECT_STREQ(p.GetInputBusLabel(0), "Main Input");
  EXPECT_STREQ(p.GetInputBusLabel(1), "Aux Input");
  EXPECT_EQ(p.GetInputBusLabel(2), nullptr);
  p.SetOutputBusLabel(3, "Output 4");
  p.SetOutputBusLabel(-1, "ignored");
  EXPECT_STREQ(p.GetOutputBusLabel(0), "Output 4");  // past the end appends
  EXPECT_EQ(p.GetOutputBusLabel(1), nullptr);
}

TEST(IPluginChannels, AttachSkipsDisconnectedChannelsAndTheirPointers) {
  FakePlugin p(FakePlugin::Bare());
  p.ConnectAll(8);
  p.SetInputChannelConnections(2, 2, false);
  // Host samples are copied in; NaN and infinities enter as silence.
  double a[8] = {1, NAN, INFINITY}, b[8] = {2, -INFINITY}, c[8] = {3}, d[8] = {4};
  double* bufs[] = {a, b, c, d};
  p.AttachInputBuffers(0, 4, bufs, 8);
  EXPECT_EQ(p.InData()[0][0], 1.0);
  EXPECT_EQ(p.InData()[0][1], 0.0);
  EXPECT_EQ(p.InData()[0][2], 0.0);
  EXPECT_EQ(p.InData()[1][0], 2.0);
  EXPECT_EQ(p.InData()[1][1], 0.0);
  EXPECT_NE(p.InData()[2], c);
  EXPECT_EQ(p.InData()[2][0], 0.0);  // scratch reads silence

  // A disconnected output's writes go to its scratch buffer, not the host's.
  p.SetOutputChannelConnections(1, 1, false);
  double o0[8] = {}, o1[8] = {};
  double* outs[] = {o0, o1};
  p.AttachOutputBuffers(0, 2, outs);
  p.ProcessBuffers(0.0, 8);
  EXPECT_EQ(o0[0], 1.0);
  EXPECT_EQ(o1[0], 0.0);
}

TEST(IPluginChannels, DefaultProcessingCopiesAndSilences) {
  FakePlugin wide(FakePlugin::Bare("4-2"));
  double in[4][4] = {{1, 1, 1, 1}, {2, 2, 2, 2}, {3, 3, 3, 3}, {4, 4, 4, 4}};
  double out[2][4] = {};
  double* ins[] = {in[0], in[1], in[2], in[3]};
  double* outs[] = {out[0], out[1]};
  wide.ProcessDoubleReplacing(ins, outs, 4);
  EXPECT_EQ(out[0][3], 1.0);
  EXPECT_EQ(out[1][3], 2.0);

  FakePlugin narrow(FakePlugin::Bare("2-4"));
  double o[4][4];
  for (auto& row : o)
    for (double& s : row) s = 9.0;
  double* outs4[] = {o[0], o[1], o[2], o[3]};
  narrow.ProcessDoubleReplacing(ins, outs4, 4);
  EXPECT_EQ(o[1][0], 2.0);
  EXPECT_EQ(o[2][0], 0.0);
  EXPECT_EQ(o[3][3], 0.0);

  // In-place buffers (input and output the same memory) survive the copy.
  narrow.ProcessDoubleReplacing(outs4, outs4, 4);
  EXPECT_EQ(o[0][0], 1.0);
}

TEST(IPluginChannels, BlockSizeChangesClearScratchOnlyWhenTheSizeChanges) {
  FakePlugin p(FakePlugin::Bare());
  p.ConnectAll(4);
  float f[4] = {0.5f, 0.5f, 0.5f, 0.5f};
  float* fins[] = {f, f, f, f};
  p.AttachInputBuffers(0, 4, fins, 4);
  p.SetBlockSize(4);
  EXPECT_EQ(p.InData()[0][3], 0.5);
  p.ZeroScratchBuffers();
  EXPECT_EQ(p.InData()[0][3], 0.0);

  // A slot reading scratch follows the buffer when a new size moves it.
  p.SetInputChannelConnections(3, 1, false);
  p.SetBlockSize(4096);
  p.InData()[3][4095] = 1.0;
  EXPECT_EQ(p.InData()[3][0], 0.0);
}

TEST(IPluginChannels, FloatPathsConvertReplaceAndAccumulate) {
  FakePlugin p(FakePlugin::Bare());
  p.ConnectAll(3);
  p.SetInputChannelConnections(2, 2, false);
  float l[3] = {0.25f, 0.5f, 1.0f}, r[3] = {-1.0f, 0.0f, 0.125f};
  float* ins[] = {l, r};
  float outL[3] = {1, 1, 1}, outR[3] = {1, 1, 1};
  float* outs[] = {outL, outR};
  p.AttachInputBuffers(0, 4, ins, 3);
  p.AttachOutputBuffers(0, 2, outs);
  p.ProcessBuffers(0.0f, 3);
  EXPECT_EQ(outL[1], 0.5f);
  EXPECT_EQ(outR[0], -1.0f);

  p.ProcessBuffersAccumulating(0.0f, 3);
  EXPECT_EQ(outL[2], 2.0f);
  EXPECT_EQ(outR[2], 0.25f);

  p.SetBypassed(true);
  p.PassThroughBuffers(0.0f, 3);
  EXPECT_EQ(outL[2], 1.0f);
}

TEST(IPluginChannels, FloatConversionsSilenceNonFiniteInputAndLimitLoudOutput) {
  FakePlugin p(FakePlugin::Bare());
  p.ConnectAll(2);
  const float inf = std::numeric_limits<float>::infinity();
  // Five frames: the vector loops and their scalar tails both see odd values.
  float l[5] = {1.0f, inf, std::numeric_limits<float>::quiet_NaN(), -inf, 0.5f}, r[5] = {};
  float* ins[] = {l, r};
  float outL[5], outR[5];
  float* outs[] = {outL, outR};
  p.AttachInputBuffers(0, 2, ins, 5);
  p.AttachOutputBuffers(0, 2, outs);
  p.ProcessBuffers(0.0f, 5);
  const float want[5] = {1.0f, 0.0f, 0.0f, 0.0f, 0.5f};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(outL[i], want[i]) << i;

  double big[5] = {1e300, -1e300, 3.0, -1e40, 1e39}, zero[5] = {};
  double* dins[] = {big, zero};
  p.AttachInputBuffers(0, 2, dins, 5);
  p.ProcessBuffers(0.0f, 5);
  const float top = std::numeric_limits<float>::max();
  const float limited[5] = {top, -top, 3.0f, -top, top};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(outL[i], limited[i]) << i;
}

TEST(IPluginChannels, OversizedBlocksAndMissingHostBuffersStaySafe) {
  FakePlugin p(FakePlugin::Bare());
  p.ConnectAll(4);
  p.SetInputChannelConnections(2, 2, false);
  std::vector<float> in(64, 0.75f), out(64, 0.0f);
  float* ins[] = {in.data(), nullptr};
  float* outs[] = {out.data(), nullptr};
  // More frames than the promised block size, and null channel pointers from the host.
  p.AttachInputBuffers(0, 4, ins, 64);
  p.AttachOutputBuffers(0, 2, outs);
  p.ProcessBuffers(0.0f, 64);
  EXPECT_EQ(out[63], 0.75f);
  p.PassThroughBuffers(0.0, 64);

  double* nullIns[] = {nullptr, nullptr};
  p.AttachInputBuffers(0, 4, nullIns, 64);
  p.AttachInputBuffers(0, 4, static_cast<double**>(nullptr), 64);
  p.AttachOutputBuffers(0, 2, static_cast<double**>(nullptr));
  p.ProcessBuffers(0.0, 64);
  p.ProcessBuffers(0.0, -5);
}

TEST(IPluginChannels, BypassWithLatencyDelaysTheImpulse) {
  FakePlugin p(FakePlugin::Bare("2-2", 1, 3));
  p.ConnectAll(8);
  p.CreateDelayLine();
  p.SetBypassed(true);

  // An impulse in the first of two blocks comes out three frames later, in place.
  double l[5] = {1, 0, 0, 0, 0}, r[5] = {0, 0.5, 0, 0, 0};
  double* io[] = {l, r};
  std::vector<double> left, right;
  for (int block = 0; block < 2; ++block) {
    p.AttachInputBuffers(0, 2, io, 5);
    p.AttachOutputBuffers(0, 2, io);
    p.PassThroughBuffers(0.0, 5);
    left.insert(left.end(), l, l + 5);
    right.insert(right.end(), r, r + 5);
    for (int s = 0; s < 5; ++s) l[s] = r[s] = 0.0;
  }
  EXPECT_EQ(left, (std::vector<double>{0, 0, 0, 1, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(right, (std::vector<double>{0, 0, 0, 0, 0.5, 0, 0, 0, 0, 0}));

  // A new latency rewinds and clears the line; zero latency is a plain copy.
  l[0] = 1.0;
  p.SetLatency(1);
  p.AttachInputBuffers(0, 2, io, 5);
  p.PassThroughBuffers(0.0, 5);
  EXPECT_EQ(l[0], 0.0);
  EXPECT_EQ(l[1], 1.0);
  p.SetLatency(0);
  l[0] = 7.0;
  p.AttachInputBuffers(0, 2, io, 5);
  p.PassThroughBuffers(0.0, 5);
  EXPECT_EQ(l[0], 7.0);
  p.SetLatency(-4);
  p.PassThroughBuffers(0.0, 5);
}

TEST(ChannelDelayLine, LeavesOutputsBeyondTheInputsAlone) {
  ChannelDelayLine line(1, 2, 2);
  double in[4] = {1, 2, 3, 4};
  double o0[4] = {}, o1[4] = {9, 9, 9, 9};
  double* ins[] = {in};
  double* outs[] = {o0, o1};
  line.ProcessBlock(ins, outs, 4);
  EXPECT_EQ(o0[2], 1.0);
  EXPECT_EQ(o0[3], 2.0);
  EXPECT_EQ(o1[0], 9.0);
}
