// The state chunk: ByteChunk's bounded readers and the parameter list as little-endian doubles.
#include "StateFileSupport.h"

#include "base/StrBuf.h"
#include "framework/ByteChunk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numeric>
#include <random>

namespace {
double DoubleAt(const ByteChunk& c, int pos) {
  // Assemble from little-endian bytes so the test does not depend on the host's byte order.
  uint64_t bits = 0;
  for (int b = 7; b >= 0; --b) bits = (bits << 8) | c.Data()[pos + b];
  double v;
  std::memcpy(&v, &bits, 8);
  return v;
}

ByteChunk ChunkOf(const std::vector<double>& values) {
  ByteChunk c;
  for (double v : values) c.AppendValue(&v);
  return c;
}

std::vector<int> AllIndices(int n) {
  std::vector<int> v(static_cast<size_t>(n));
  std::iota(v.begin(), v.end(), 0);
  return v;
}
}  // namespace

TEST(ByteChunk, StringsAreLengthPrefixedAndReadOnlyWhenComplete) {
  ByteChunk c;
  EXPECT_EQ(c.AppendString(""), 4);
  EXPECT_EQ(std::vector<unsigned char>(c.Data(), c.Data() + 4), std::vector<unsigned char>(4, 0));
  c.AppendString("abc");
  const char embedded[] = {6, 0, 0, 0, 'x', 'y', 0, 'z', 'w', 'v'};
  c.AppendBytes(embedded, sizeof(embedded));

  StrBuf s("old");
  EXPECT_EQ(c.ReadString(&s, 0), 4);
  EXPECT_STREQ(s.Get(), "");
  EXPECT_EQ(c.ReadString(&s, 4), 11);
  EXPECT_STREQ(s.Get(), "abc");
  EXPECT_EQ(c.ReadString(&s, 11), 21);
  EXPECT_STREQ(s.Get(), "xy");  // cut at the first NUL

  // A length running past the end reports where the string would end and changes nothing.
  ByteChunk cut;
  cut.AppendString("abcdef");
  cut.Resize(8);
  s.Set("kept");
  EXPECT_EQ(cut.ReadString(&s, 0), 10);
  EXPECT_STREQ(s.Get(), "kept");

  // Negative or absurd lengths are corrupt data, not a reason to move backwards or overflow.
  ByteChunk bad;
  int32_t len = -8;
  bad.AppendValue(&len);
  EXPECT_EQ(bad.ReadString(&s, 0), -1);
  bad.Clear();
  len = INT32_MAX;
  bad.AppendValue(&len);
  EXPECT_EQ(bad.ReadString(&s, 0), -1);
  EXPECT_EQ(bad.ReadString(&s, 2), -1);
  EXPECT_STREQ(s.Get(), "kept");
}

TEST(ByteChunk, ReadsStayInsideTheData) {
  ByteChunk c;
  unsigned char bytes[] = {0, 2, 0xFF};
  c.AppendBytes(bytes, 3);
  bool b = true;
  EXPECT_EQ(c.ReadBool(&b, 0), 1);
  EXPECT_FALSE(b);
  EXPECT_EQ(c.ReadBool(&b, 1), 2);
  EXPECT_TRUE(b);
  EXPECT_EQ(c.ReadBool(&b, 3), -1);

  unsigned char out[4] = {9, 9, 9, 9};
  EXPECT_EQ(c.ReadBytes(out, 3, 0), 3);
  EXPECT_EQ(c.ReadBytes(out, 4, 0), -1);
  EXPECT_EQ(c.ReadBytes(out, 1, -1), -1);
  EXPECT_EQ(c.ReadBytes(out, 2, INT32_MAX), -1);
  EXPECT_EQ(c.ReadBytes(out, INT32_MAX, 2), -1);
  EXPECT_EQ(c.ReadBytes(out, 0, 3), 3);

  // Appending a chunk to itself must survive the storage moving.
  ByteChunk big;
  big.Resize(5000);
  big.Data()[4999] = 42;
  EXPECT_EQ(big.AppendChunk(&big), 10000);
  EXPECT_EQ(big.Data()[9999], 42);
  big.Clear();
  EXPECT_EQ(big.Size(), 0);
  EXPECT_EQ(big.Data(), nullptr);
}

TEST(StateChunk, SeventeenParametersAre136LittleEndianBytes) {
  FakePlugin plug;
  std::mt19937 rng(3);
  plug.RandomizeParams(rng);
  plug.GetParam(0)->SetValue(0.75);
  ByteChunk c;
  ASSERT_TRUE(plug.SerializeParams(&c));
  ASSERT_EQ(c.Size(), 136);
  const unsigned char first[8] = {0, 0, 0, 0, 0, 0, 0xE8, 0x3F};  // 0.75
  EXPECT_EQ(std::memcmp(c.Data(), first, 8), 0);
  for (int i = 0; i < 17; ++i) EXPECT_EQ(DoubleAt(c, 8 * i), plug.GetParam(i)->GetValue()) << i;

  FakePlugin none(FakePlugin::Options{0, 1, false, FakePlugin::kUniqueId});
  ByteChunk empty;
  EXPECT_TRUE(none.SerializeParams(&empty));
  EXPECT_EQ(empty.Size(), 0);
}

TEST(StateChunk, RandomValuesRoundTripExactly) {
  std::mt19937 rng(17);
  for (int round = 0; round < 50; ++round) {
    FakePlugin a, b;
    a.RandomizeParams(rng);
    ByteChunk c;
    int junk = 0x5A5A5A5A;
    c.AppendValue(&junk);  // state may sit behind other data
    a.SerializeParams(&c);
    c.AppendValue(&junk);  // and trailing bytes are left to the caller
    EXPECT_EQ(b.UnserializeParams(&c, 4), 140);
    EXPECT_EQ(b.Values(), a.Values());
    EXPECT_EQ(b.paramChanges, AllIndices(17));
  }
}

TEST(StateChunk, ShortChunkSetsFirstMissingParameterToClampedZero) {
  FakePlugin plug;
  std::vector<double> before = plug.Values();
  ByteChunk c = ChunkOf({1.0, 5.0});
  EXPECT_EQ(plug.UnserializeParams(&c, 0), -1);
  EXPECT_EQ(plug.GetParam(0)->GetValue(), 1.0);
  EXPECT_EQ(plug.GetParam(1)->GetValue(), 5.0);
  EXPECT_EQ(plug.GetParam(2)->GetValue(), 0.0);
  for (int i = 3; i < 17; ++i) EXPECT_EQ(plug.GetParam(i)->GetValue(), before[i]) << i;
  EXPECT_EQ(plug.paramChanges, AllIndices(17));

  // Parameter 4 spans 0.1..500, so "missing" lands on its minimum.
  FakePlugin other;
  ByteChunk c4 = ChunkOf({0.0, 1.0, 2.0, 3.0});
  EXPECT_EQ(other.UnserializeParams(&c4, 0), -1);
  EXPECT_DOUBLE_EQ(other.GetParam(4)->GetValue(), 0.1);

  FakePlugin untouched;
  EXPECT_EQ(untouched.UnserializeParams(&c4, -1), -1);
  EXPECT_EQ(untouched.Values(), before);
}

TEST(StateChunk, OutOfRangeValuesClampAndNonFiniteValuesCountAsMissing) {
  FakePlugin plug;
  std::vector<double> before = plug.Values();
  std::vector<double> values(17, 0.0);
  values[1] = 1000.0;   // Gain, max 24
  values[2] = -1000.0;  // Steps, min -3
  values[3] = std::numeric_limits<double>::quiet_NaN();
  ByteChunk c = ChunkOf(values);
  EXPECT_EQ(plug.UnserializeParams(&c, 0), -1);
  EXPECT_EQ(plug.GetParam(1)->GetValue(), 24.0);
  EXPECT_EQ(plug.GetParam(2)->GetValue(), -3.0);
  EXPECT_EQ(plug.GetParam(3)->GetValue(), 0.0);
  for (int i = 4; i < 17; ++i) EXPECT_EQ(plug.GetParam(i)->GetValue(), before[i]) << i;

  for (double bad : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
    values[3] = 1.0;
    values[9] = bad;
    ByteChunk c2 = ChunkOf(values);
    FakePlugin p2;
    EXPECT_EQ(p2.UnserializeParams(&c2, 0), -1);
    EXPECT_TRUE(std::isfinite(p2.GetParam(9)->GetValue()));
    EXPECT_EQ(p2.GetParam(3)->GetValue(), 1.0);
  }
}

TEST(StateChunk, CompareStateUsesSinglePrecisionAndADoubleIndex) {
  FakePlugin plug;
  std::mt19937 rng(8);
  plug.RandomizeParams(rng);
  std::vector<double> data(3, 99.0);
  std::vector<double> values = plug.Values();
  data.insert(data.end(), values.begin(), values.end());
  const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
  EXPECT_TRUE(plug.CompareState(bytes, 3));
  EXPECT_FALSE(plug.CompareState(bytes, 0));
  data[3 + 5] += 1e-7;  // lost in single precision
  EXPECT_TRUE(plug.CompareState(reinterpret_cast<const unsigned char*>(data.data()), 3));
  data[3 + 5] += 0.01;
  EXPECT_FALSE(plug.CompareState(reinterpret_cast<const unsigned char*>(data.data()), 3));

  // The tolerance is 1e-5 itself: the float nearest to it lies just below and still compares equal.
  FakePlugin::Options one;
  one.nParams = 1;
  FakePlugin single(one);
  single.GetParam(0)->SetValue(0.0);
  const double nearTolerance = static_cast<double>(0.00001f);
  EXPECT_TRUE(single.CompareState(reinterpret_cast<const unsigned char*>(&nearTolerance), 0));
}

TEST(StateChunk, FrameworkVersionHeader) {
  ByteChunk c;
  c.AppendString("junk");
  IPlugin::InitChunkWithFrameworkVer(&c);
  ASSERT_EQ(c.Size(), 8);
  const unsigned char header[8] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x01, 0x00};
  EXPECT_EQ(std::memcmp(c.Data(), header, 8), 0);

  int pos = 0;
  EXPECT_EQ(IPlugin::GetFrameworkVerFromChunk(&c, &pos), 0x00010000);
  EXPECT_EQ(pos, 8);

  ByteChunk cut;
  cut.AppendBytes(header, 6);
  pos = 0;
  EXPECT_EQ(IPlugin::GetFrameworkVerFromChunk(&cut, &pos), 0);
  EXPECT_EQ(pos, -1);

  ByteChunk other = ChunkOf({1.0});
  pos = 0;
  EXPECT_EQ(IPlugin::GetFrameworkVerFromChunk(&other, &pos), 0);
  EXPECT_EQ(pos, 0);
}

TEST(StateChunk, TruncatedAndMutatedChunksNeverEscapeTheirRanges) {
  FakePlugin source;
  std::mt19937 rng(1234);
  source.RandomizeParams(rng);
  ByteChunk valid;
  source.SerializeParams(&valid);

  auto check = [](FakePlugin& plug) {
    ASSERT_TRUE(ParamsSane(plug));
    ASSERT_EQ(plug.paramChanges, AllIndices(17));
  };

  for (int len = 0; len <= valid.Size(); ++len) {
    ByteChunk c;
    c.AppendBytes(valid.Data(), len);
    FakePlugin plug;
    EXPECT_EQ(plug.UnserializeParams(&c, 0), len == valid.Size() ? len : -1) << len;
    check(plug);
  }
  for (int iter = 0; iter < 3000; ++iter) {
    ByteChunk c;
    c.AppendBytes(valid.Data(), valid.Size());
    for (int m = 1 + static_cast<int>(rng() % 6); m > 0; --m)
      c.Data()[rng() % 136] = static_cast<unsigned char>(rng());
    if (rng() % 4 == 0) c.Resize(static_cast<int>(rng() % 137));
    FakePlugin plug;
    int pos = plug.UnserializeParams(&c, static_cast<int>(rng() % 3) - 1);
    EXPECT_TRUE(pos == -1 || (pos >= 136 && pos <= c.Size()));
    check(plug);
  }
}
