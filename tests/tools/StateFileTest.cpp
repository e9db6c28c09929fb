// The host's state file: saved processor and controller blobs come back byte for byte, and
// anything damaged or foreign is refused rather than handed to a plug-in.
#include <gtest/gtest.h>

#include <cstdio>

#include "host/effect/StateFile.h"

using namespace qvhost;

namespace {

PluginState sample() {
  PluginState s;
  for (int i = 0; i < 16; ++i) s.classId[size_t(i)] = static_cast<char>(0xA0 + i);
  s.component = {1, 2, 3, 0, 255};
  s.controller.assign(140, 0x5A);
  return s;
}

}  // namespace

TEST(StateFile, RoundTripsBothBlobsAndTheClassId) {
  const PluginState s = sample();
  const std::vector<uint8_t> bytes = encodeState(s);
  EXPECT_EQ(bytes.size(), 24u + 8 + 5 + 8 + 140);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "QVHS");
  PluginState back;
  std::string error;
  ASSERT_TRUE(decodeState(bytes, &back, &error)) << error;
  EXPECT_EQ(back.classId, s.classId);
  EXPECT_EQ(back.component, s.component);
  EXPECT_EQ(back.controller, s.controller);

  PluginState empty;
  ASSERT_TRUE(decodeState(encodeState(empty), &back, &error)) << error;
  EXPECT_TRUE(back.component.empty() && back.controller.empty());

  const std::string path = testing::TempDir() + "qvhost_state_" + std::to_string(::getpid());
  ASSERT_TRUE(writeStateFile(path, s, &error)) << error;
  ASSERT_TRUE(readStateFile(path, &back, &error)) << error;
  EXPECT_EQ(back.controller, s.controller);
  std::remove(path.c_str());
}

TEST(StateFile, RefusesDamagedFiles) {
  const std::vector<uint8_t> good = encodeState(sample());
  PluginState out = sample();
  out.controller.clear();
  std::string error;

  // Every truncation is refused, and the output is left alone.
  for (size_t n = 0; n < good.size(); ++n) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
    ASSERT_FALSE(decodeState(cut, &out, &error)) << "length " << n;
  }
  EXPECT_TRUE(out.controller.empty());

  std::vector<uint8_t> bad = good;
  bad[0] = 'X';
  EXPECT_FALSE(decodeState(bad, &out, &error));
  bad = good;
  bad[4] = 2;  // a future version
  EXPECT_FALSE(decodeState(bad, &out, &error));
  bad = good;
  bad.push_back(0);
  EXPECT_FALSE(decodeState(bad, &out, &error));
  // A length near 2^64 must not wrap around the bounds check.
  bad = good;
  for (int i = 0; i < 8; ++i) bad[24 + size_t(i)] = 0xFF;
  EXPECT_FALSE(decodeState(bad, &out, &error));
  EXPECT_NE(error.find("not a valid state file"), std::string::npos);

  EXPECT_FALSE(readStateFile(testing::TempDir() + "qvhost_no_such_state", &out, &error));
  EXPECT_NE(error.find("cannot read"), std::string::npos);
}
