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
  s.vendor = "Vendor";
  s.name = "Plug";
  return s;
}

}  // namespace

TEST(StateFile, RoundTripsBothBlobsAndTheClassId) {
  const PluginState s = sample();
  const std::vector<uint8_t> bytes = encodeState(s);
  EXPECT_EQ(bytes.size(), 24u + 4 + 6 + 4 + 4 + 8 + 5 + 8 + 140);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "QVHS");
  PluginState back;
  std::string error;
  ASSERT_TRUE(decodeState(bytes, &back, &error)) << error;
  EXPECT_EQ(back.classId, s.classId);
  EXPECT_EQ(back.vendor, "Vendor");
  EXPECT_EQ(back.name, "Plug");
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
  bad[4] = 3;  // a future version
  EXPECT_FALSE(decodeState(bad, &out, &error));
  bad = good;
  bad.push_back(0);
  EXPECT_FALSE(decodeState(bad, &out, &error));
  // A length near 2^64 must not wrap around the bounds check.
  bad = good;
  for (int i = 0; i < 8; ++i) bad[42 + size_t(i)] = 0xFF;
  EXPECT_FALSE(decodeState(bad, &out, &error));
  // So must a name length near 2^32, and one past the limit.
  bad = good;
  for (int i = 0; i < 4; ++i) bad[24 + size_t(i)] = 0xFF;
  EXPECT_FALSE(decodeState(bad, &out, &error));
  bad = good;
  bad[24] = 0x01;
  bad[25] = 0x04;  // 1025 bytes
  EXPECT_FALSE(decodeState(bad, &out, &error));
  EXPECT_NE(error.find("not a valid state file"), std::string::npos);

  EXPECT_FALSE(readStateFile(testing::TempDir() + "qvhost_no_such_state", &out, &error));
  EXPECT_NE(error.find("cannot read"), std::string::npos);
}

// Files written before the product fields existed still load, bound to their class alone.
TEST(StateFile, ReadsVersionOneFiles) {
  std::vector<uint8_t> v1 = {'Q', 'V', 'H', 'S', 1, 0, 0, 0};
  for (int i = 0; i < 16; ++i) v1.push_back(uint8_t(0xA0 + i));
  const uint8_t blobs[] = {3, 0, 0, 0, 0, 0, 0, 0, 7, 8, 9, 0, 0, 0, 0, 0, 0, 0, 0};
  v1.insert(v1.end(), blobs, blobs + sizeof blobs);
  PluginState back;
  std::string error;
  ASSERT_TRUE(decodeState(v1, &back, &error)) << error;
  EXPECT_EQ(back.component, (std::vector<uint8_t>{7, 8, 9}));
  EXPECT_TRUE(back.controller.empty() && back.vendor.empty() && back.name.empty());
  EXPECT_TRUE(stateBelongsTo(back, sample().classId, "", ""));
  EXPECT_FALSE(stateBelongsTo(back, {}, "", ""));
}

// A state belongs to its own class, or to the same product (vendor and name) in another format;
// never to another product, nor by empty names.
TEST(StateFile, BelongsToItsClassOrTheSameProduct) {
  const PluginState s = sample();
  std::array<char, 16> other{};
  EXPECT_TRUE(stateBelongsTo(s, s.classId, "Someone", "Else"));
  EXPECT_TRUE(stateBelongsTo(s, other, "Vendor", "Plug"));
  EXPECT_FALSE(stateBelongsTo(s, other, "Vendor", "Plug 2"));
  EXPECT_FALSE(stateBelongsTo(s, other, "Other", "Plug"));
  PluginState anonymous = s;
  anonymous.vendor.clear();
  anonymous.name.clear();
  EXPECT_FALSE(stateBelongsTo(anonymous, other, "", ""));
}
