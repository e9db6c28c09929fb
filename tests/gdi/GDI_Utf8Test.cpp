#include "gdi/GDI_Utf8.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {
struct Decoded {
  uint32_t cp;
  int used;
};

Decoded Decode(const std::string& s) {
  uint32_t cp = 0;
  const int used = GDI_Utf8Decode(s.data(), int(s.size()), &cp);
  return {cp, used};
}
}  // namespace

TEST(GDI_Utf8, DecodesEveryEncodingLength) {
  EXPECT_EQ(Decode("A").cp, 'A');
  EXPECT_EQ(Decode("\xC3\xA9").cp, 0xE9u);
  EXPECT_EQ(Decode("\xE2\x82\xAC").cp, 0x20ACu);
  const Decoded emoji = Decode("\xF0\x9F\x8E\xB5");
  EXPECT_EQ(emoji.cp, 0x1F3B5u);
  EXPECT_EQ(emoji.used, 4);
}

TEST(GDI_Utf8, IllFormedInputGivesReplacementAndConsumesTheValidPrefix) {
  const struct {
    const char* bytes;
    int used;
  } cases[] = {
      {"\x80", 1},              // stray continuation
      {"\xC0\xAF", 1},          // overlong lead
      {"\xE0\x80\xAF", 1},      // overlong three-byte form
      {"\xED\xA0\x80", 1},      // surrogate
      {"\xF4\x90\x80\x80", 1},  // above U+10FFFF
      {"\xF5\x80", 1},
      {"\xFF", 1},
      {"\xE2\x82", 2},   // truncated at the end of the text
      {"\xE2\x82X", 2},  // truncated by an ASCII byte, which stays for the next step
      {"\xF0\x9F\x8E", 3},
  };
  for (const auto& c : cases) {
    const Decoded d = Decode(c.bytes);
    EXPECT_EQ(d.cp, GDI_REPLACEMENT_CHAR) << c.bytes;
    EXPECT_EQ(d.used, c.used) << c.bytes;
  }
}

TEST(GDI_Utf8, EncodeRoundTripsAndReplacesUnencodableValues) {
  for (uint32_t cp : {0x0u, 0x41u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
    char buf[4];
    const int n = GDI_Utf8Encode(cp, buf);
    uint32_t back = 0;
    EXPECT_EQ(GDI_Utf8Decode(buf, n, &back), n);
    EXPECT_EQ(back, cp);
  }
  char buf[4];
  EXPECT_EQ(GDI_Utf8Encode(0xD800, buf), 3);
  EXPECT_EQ(std::string(buf, 3), "\xEF\xBF\xBD");
  EXPECT_EQ(GDI_Utf8Encode(0x110000, buf), 3);
}

TEST(GDI_Utf8, RandomBytesNeverOverreadAndAlwaysProgress) {
  std::mt19937 rng(7);
  for (int iter = 0; iter < 3000; ++iter) {
    std::string s(size_t(rng() % 12 + 1), '\0');
    for (char& ch : s) ch = char(rng() & 0xFF);
    int pos = 0;
    while (pos < int(s.size())) {
      uint32_t cp = 0;
      const int n = GDI_Utf8Decode(s.data() + pos, int(s.size()) - pos, &cp);
      ASSERT_GE(n, 1);
      ASSERT_LE(pos + n, int(s.size()));
      ASSERT_TRUE(cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF));
      pos += n;
    }
  }
}
