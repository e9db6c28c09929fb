// Base64 text of preset blobs: padding, short output sizes, and hostile text.
#include "base/Base64.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {
std::vector<unsigned char> Decode(const std::string& text, int size, int* written = nullptr) {
  std::vector<unsigned char> out(static_cast<size_t>(size), 0);
  int n = Base64Decode(text.c_str(), -1, out.data(), size);
  if (written) *written = n;
  return out;
}
}  // namespace

TEST(Base64, EncodesWithPaddingForEveryTailLength) {
  const unsigned char bytes[] = {'M', 'a', 'n'};
  EXPECT_EQ(Base64Encode(bytes, 3), "TWFu");
  EXPECT_EQ(Base64Encode(bytes, 2), "TWE=");
  EXPECT_EQ(Base64Encode(bytes, 1), "TQ==");
  EXPECT_EQ(Base64Encode(bytes, 0), "");
  const unsigned char high[] = {0xFB, 0xFF, 0xBF};
  EXPECT_EQ(Base64Encode(high, 3), "+/+/");
  EXPECT_EQ(Base64EncodedLength(4), 8);

  char buf[9];
  EXPECT_EQ(Base64Encode(high, 3, buf), 4);
  EXPECT_STREQ(buf, "+/+/");
}

TEST(Base64, DecodesExactlyTheRequestedSizeAndStopsAtPadding) {
  int n = 0;
  EXPECT_EQ(Decode("TWFu", 3, &n), (std::vector<unsigned char>{'M', 'a', 'n'}));
  EXPECT_EQ(n, 3);
  // A short size keeps only the leading bytes.
  EXPECT_EQ(Decode("TWFu", 2, &n), (std::vector<unsigned char>{'M', 'a'}));
  EXPECT_EQ(n, 2);
  // Two characters and "==" give one byte; the rest of the buffer stays zero.
  EXPECT_EQ(Decode("TQ==", 3, &n), (std::vector<unsigned char>{'M', 0, 0}));
  EXPECT_EQ(n, 1);
  // Anything outside the alphabet ends the text.
  EXPECT_EQ(Decode("TW Fu", 3, &n), (std::vector<unsigned char>{'M', 0, 0}));
  EXPECT_EQ(n, 1);
  EXPECT_EQ(Decode("TWFu\xffTWFu", 6, &n), (std::vector<unsigned char>{'M', 'a', 'n', 0, 0, 0}));

  unsigned char out[3] = {7, 7, 7};
  EXPECT_EQ(Base64Decode("TWFu", 2, out, 3), 1);  // bounded by the text length
  EXPECT_EQ(out[0], 'M');
  EXPECT_EQ(out[1], 7);
  EXPECT_EQ(Base64Decode(nullptr, -1, out, 3), 0);
  EXPECT_EQ(Base64Decode("TWFu", -1, out, 0), 0);
}

TEST(Base64, RandomBytesRoundTrip) {
  std::mt19937 rng(11);
  for (int len = 0; len < 200; ++len) {
    std::vector<unsigned char> bytes(static_cast<size_t>(len));
    for (auto& b : bytes) b = static_cast<unsigned char>(rng());
    std::string text = Base64Encode(bytes.data(), len);
    ASSERT_EQ(static_cast<int>(text.size()), Base64EncodedLength(len));
    int n = 0;
    EXPECT_EQ(Decode(text, len, &n), bytes) << len;
    EXPECT_EQ(n, len);
  }
}

TEST(Base64, HostileTextNeverWritesPastTheBuffer) {
  std::mt19937 rng(5);
  const std::string valid = Base64Encode("preset state bytes", 18);
  for (int iter = 0; iter < 3000; ++iter) {
    std::string text = valid.substr(0, rng() % (valid.size() + 1));
    int mutations = static_cast<int>(rng() % 4);
    for (int m = 0; m < mutations && !text.empty(); ++m) text[rng() % text.size()] = static_cast<char>(rng());
    int size = static_cast<int>(rng() % 20);
    // Exactly sized heap buffer, so an overrun is caught by the address sanitizer.
    std::unique_ptr<unsigned char[]> out(new unsigned char[size > 0 ? size : 1]);
    int n = Base64Decode(text.c_str(), -1, out.get(), size);
    EXPECT_GE(n, 0);
    EXPECT_LE(n, size);
    EXPECT_LE(n, static_cast<int>(text.size() * 3 / 4));
  }
}
