// PNG decoding: every colour type and depth, the destination bitmap, and broken input.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>

#include "pix/PIX_Fill.h"
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_PNG.h"
#include "pix/PIX_PNGWrite.h"
#include "pix/PIX_SysBitmap.h"

namespace {
typedef std::vector<std::vector<uint8_t>> Rows;

std::vector<unsigned char> EncodePng(PIX_PNGRaw img, Rows rows) {
  img.rows = std::move(rows);
  return PIX_EncodePNG(img);
}

std::unique_ptr<PIX_IBitmap> Decode(const std::vector<unsigned char>& file) {
  return std::unique_ptr<PIX_IBitmap>(PIX_LoadPNGFromMemory(file.data(), file.size()));
}

// An interlaced 8-bit RGBA image of distinct pixels, large enough for several IDAT rows.
std::vector<unsigned char> SampleFile(int w = 13, int h = 11, bool interlaced = true) {
  PIX_PNGRaw img;
  img.width = w;
  img.height = h;
  img.interlaced = interlaced;
  Rows rows((size_t)h);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++)
      rows[y].insert(rows[y].end(),
                     {(uint8_t)(x * 9), (uint8_t)(y * 7), (uint8_t)(x ^ y), (uint8_t)(255 - x)});
  return EncodePng(img, rows);
}

PIX_Pixel SamplePixel(int x, int y) { return PIX_MAKEPIXEL(255 - x, x * 9, y * 7, x ^ y); }
}  // namespace

TEST(PNG, OneBitGreyIsOpaqueBlackAndWhite) {
  PIX_PNGRaw img;
  img.width = 10;
  img.height = 2;
  img.colorType = PIX_PNGColor::kGrey;
  img.bitDepth = 1;
  Rows rows = {{0xA5, 0xC0}, {0x00, 0x40}};  // 1010 0101 11, 0000 0000 01
  auto bm = Decode(EncodePng(img, rows));
  ASSERT_TRUE(bm);
  const char* want[2] = {"1010010111", "0000000001"};
  for (int y = 0; y < 2; y++)
    for (int x = 0; x < 10; x++)
      EXPECT_EQ(PIX_GetPixel(bm.get(), x, y), want[y][x] == '1' ? 0xFFFFFFFFu : 0xFF000000u) << x << "," << y;
  EXPECT_EQ(bm->getRowSpan() % 4, 0);  // the bitmaps it creates use row alignment 4
}

TEST(PNG, PaletteWithTransparency) {
  PIX_PNGRaw img;
  img.width = 4;
  img.height = 1;
  img.colorType = PIX_PNGColor::kPalette;
  img.bitDepth = 2;
  img.palette = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
  img.paletteAlpha = {0, 128, 255};  // the fourth entry is opaque
  Rows rows = {{0x1B}};              // indices 0, 1, 2, 3
  auto bm = Decode(EncodePng(img, rows));
  ASSERT_TRUE(bm);
  EXPECT_EQ(PIX_GetPixel(bm.get(), 0, 0), 0x000A141Eu);  // fully transparent keeps its colour
  EXPECT_EQ(PIX_GetPixel(bm.get(), 1, 0), 0x8028323Cu);
  EXPECT_EQ(PIX_GetPixel(bm.get(), 2, 0), 0xFF46505Au);
  EXPECT_EQ(PIX_GetPixel(bm.get(), 3, 0), 0xFF646E78u);
}

TEST(PNG, SixteenBitRgbaKeepsTheHighBytes) {
  PIX_PNGRaw img;
  img.width = 2;
  img.height = 1;
  img.bitDepth = 16;
  Rows rows = {
      {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0, 0xFF, 0xFF, 0x00, 0xFF, 0x80, 0x01, 0x7F, 0xFF}};
  auto bm = Decode(EncodePng(img, rows));
  ASSERT_TRUE(bm);
  EXPECT_EQ(PIX_GetPixel(bm.get(), 0, 0), 0xDE12569Au);
  EXPECT_EQ(PIX_GetPixel(bm.get(), 1, 0), 0x7FFF0080u);
}

TEST(PNG, GreyVariantsBecomeRgb) {
  PIX_PNGRaw ga;
  ga.width = 2;
  ga.height = 1;
  ga.colorType = PIX_PNGColor::kGreyAlpha;
  Rows garows = {{0x40, 0x80, 0xC0, 0x00}};
  auto bm = Decode(EncodePng(ga, garows));
  ASSERT_TRUE(bm);
  EXPECT_EQ(PIX_GetPixel(bm.get(), 0, 0), 0x80404040u);
  EXPECT_EQ(PIX_GetPixel(bm.get(), 1, 0), 0x00C0C0C0u);

  PIX_PNGRaw g2;  // 2-bit grey with one transparent level
  g2.width = 4;
  g2.height = 1;
  g2.colorType = PIX_PNGColor::kGrey;
  g2.bitDepth = 2;
  g2.transparentGrey = 1;
  Rows g2rows = {{0x1B}};
  bm = Decode(EncodePng(g2, g2rows));
  ASSERT_TRUE(bm);
  EXPECT_EQ(PIX_GetPixel(bm.get(), 0, 0), 0xFF000000u);
  EXPECT_EQ(PIX_GetPixel(bm.get(), 1, 0), 0x00555555u);
  EXPECT_EQ(PIX_GetPixel(bm.get(), 2, 0), 0xFFAAAAAAu);
  EXPECT_EQ(PIX_GetPixel(bm.get(), 3, 0), 0xFFFFFFFFu);

  PIX_PNGRaw rgb;  // no alpha: filled opaque
  rgb.width = 1;
  rgb.height = 1;
  rgb.colorType = PIX_PNGColor::kRGB;
  Rows rgbrows = {{1, 2, 3}};
  bm = Decode(EncodePng(rgb, rgbrows));
  ASSERT_TRUE(bm);
  EXPECT_EQ(PIX_GetPixel(bm.get(), 0, 0), 0xFF010203u);
}

TEST(PNG, InterlacedImagesDecodeWhole) {
  auto bm = Decode(SampleFile());
  ASSERT_TRUE(bm);
  ASSERT_EQ(bm->getWidth(), 13);
  ASSERT_EQ(bm->getHeight(), 11);
  for (int y = 0; y < 11; y++)
    for (int x = 0; x < 13; x++) ASSERT_EQ(PIX_GetPixel(bm.get(), x, y), SamplePixel(x, y));
}

TEST(PNG, GivenBitmapsAndFiles) {
  const std::vector<unsigned char> file = SampleFile(6, 5, false);
  PIX_SysBitmap sys(100, 100);
  EXPECT_EQ(PIX_LoadPNGFromMemory(file.data(), file.size(), &sys), &sys);
  EXPECT_EQ(sys.getWidth(), 6);
  EXPECT_EQ(PIX_GetPixel(&sys, 5, 4), SamplePixel(5, 4));

  const std::string path = "pix_png_test_" + std::to_string(getpid()) + ".png";
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_TRUE(f);
  fwrite(file.data(), 1, file.size(), f);
  fclose(f);
  std::unique_ptr<PIX_IBitmap> loaded(PIX_LoadPNG(path.c_str()));
  remove(path.c_str());
  ASSERT_TRUE(loaded);
  EXPECT_EQ(PIX_GetPixel(loaded.get(), 2, 3), SamplePixel(2, 3));
  EXPECT_EQ(PIX_LoadPNG("no/such/file.png"), nullptr);
  EXPECT_EQ(PIX_LoadPNG(nullptr), nullptr);
  EXPECT_EQ(PIX_LoadPNGFromResource(nullptr, 101), nullptr);
}

TEST(PNG, NamedResourcesComeFromTheBundle) {
  EXPECT_EQ(PIX_LoadPNGFromNamedResource(std::string(401, 'a').c_str()), nullptr);
  EXPECT_EQ(PIX_LoadPNGFromNamedResource(nullptr), nullptr);
  // Linked into this program, the bundle is the program's folder.
  char exe[1024];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
  ASSERT_GT(n, 0);
  std::string dir(exe, (size_t)n);
  dir = dir.substr(0, dir.rfind('/'));
  mkdir((dir + "/Contents").c_str(), 0755);
  mkdir((dir + "/Contents/Resources").c_str(), 0755);
  const std::string name = "pix_res_" + std::to_string(getpid()) + ".png";
  const std::string path = dir + "/Contents/Resources/" + name;
  const std::vector<unsigned char> file = SampleFile(3, 3, false);
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_TRUE(f);
  fwrite(file.data(), 1, file.size(), f);
  fclose(f);
  std::unique_ptr<PIX_IBitmap> bm(PIX_LoadPNGFromNamedResource(name.c_str()));
  remove(path.c_str());
  ASSERT_TRUE(bm);
  EXPECT_EQ(PIX_GetPixel(bm.get(), 1, 2), SamplePixel(1, 2));
}

TEST(PNG, BrokenInputGivesNull) {
  const unsigned char seven[7] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A};
  EXPECT_EQ(PIX_LoadPNGFromMemory(seven, sizeof(seven)), nullptr);
  EXPECT_EQ(PIX_LoadPNGFromMemory(nullptr, 100), nullptr);
  const std::vector<unsigned char> file = SampleFile();
  std::vector<unsigned char> notPng = file;
  notPng[1] = 'Q';
  EXPECT_EQ(Decode(notPng), nullptr);

  // Every truncation, into a created bitmap and into a given one.
  PIX_MemBitmap given(2, 2);
  for (size_t len = 0; len < file.size(); len++) {
    ASSERT_EQ(Decode(std::vector<unsigned char>(file.begin(), file.begin() + len)), nullptr) << len;
    ASSERT_EQ(PIX_LoadPNGFromMemory(file.data(), len, &given), nullptr) << len;
  }
}

TEST(PNG, CorruptedFilesGiveNull) {
  const std::vector<unsigned char> file = SampleFile();
  // Random corruptions of one to four bytes; a fixed seed keeps failures reproducible.
  std::mt19937 rng(20261207);
  for (int i = 0; i < 4000; i++) {
    std::vector<unsigned char> bad = file;
    const int count = 1 + (int)(rng() % 4);
    for (int k = 0; k < count; k++) bad[rng() % bad.size()] ^= (unsigned char)(1 + rng() % 255);
    ASSERT_EQ(Decode(bad), nullptr) << "iteration " << i;
  }
  // A chunk length pointing far beyond the block ends the read instead of running on.
  std::vector<unsigned char> longChunk = file;
  longChunk[33] = 0x7F;
  EXPECT_EQ(Decode(longChunk), nullptr);
}

TEST(PNG, OversizedHeadersAreRefused) {
  // A valid header declaring 100000 x 100000 pixels must not be attempted.
  PIX_PNGRaw img;
  img.width = 1;
  img.height = 1;
  std::vector<unsigned char> file = EncodePng(img, Rows{{1, 2, 3, 4}});
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++) file[at + i] = (unsigned char)(v >> (24 - 8 * i));
  };
  put32(16, 100000);
  put32(20, 100000);
  put32(29, (uint32_t)crc32(crc32(0, nullptr, 0), file.data() + 12, 17));
  EXPECT_EQ(Decode(file), nullptr);
}

// The writer: pixels come back as written, alpha kept or dropped as asked (the colour type byte of
// the header tells which), and an image PNG cannot hold gives no bytes rather than a broken file.
TEST(PNG, WriterRoundTripsBitmapsAndRefusesMalformedImages) {
  PIX_MemBitmap bm(5, 3);
  for (int y = 0; y < 3; y++)
    for (int x = 0; x < 5; x++) bm.getBits()[y * bm.getRowSpan() + x] = SamplePixel(x, y);
  const std::vector<uint8_t> keep = PIX_EncodePNG(&bm, PIX_PNGAlpha::kKeep);
  ASSERT_GT(keep.size(), 26u);
  EXPECT_EQ(keep[25], PIX_PNGColor::kRGBA);
  auto back = Decode(keep);
  ASSERT_TRUE(back);
  for (int y = 0; y < 3; y++)
    for (int x = 0; x < 5; x++) EXPECT_EQ(PIX_GetPixel(back.get(), x, y), SamplePixel(x, y)) << x << "," << y;

  // Not opaque: the alpha stays; dropped: every pixel opaque with its colour.
  EXPECT_EQ(PIX_EncodePNG(&bm, PIX_PNGAlpha::kDropWhenOpaque)[25], PIX_PNGColor::kRGBA);
  const std::vector<uint8_t> dropped = PIX_EncodePNG(&bm, PIX_PNGAlpha::kDrop, PIX_PNGCompression::kSmallest);
  EXPECT_EQ(dropped[25], PIX_PNGColor::kRGB);
  back = Decode(dropped);
  ASSERT_TRUE(back);
  EXPECT_EQ(PIX_GetPixel(back.get(), 4, 2), SamplePixel(4, 2) | 0xFF000000u);
  PIX_Clear(&bm, 0xFF102030);
  EXPECT_EQ(PIX_EncodePNG(&bm, PIX_PNGAlpha::kDropWhenOpaque)[25], PIX_PNGColor::kRGB);

  // The same pixels always give the same bytes.
  EXPECT_EQ(PIX_EncodePNG(&bm, PIX_PNGAlpha::kKeep), PIX_EncodePNG(&bm, PIX_PNGAlpha::kKeep));

  PIX_MemBitmap empty;
  EXPECT_TRUE(PIX_EncodePNG(&empty, PIX_PNGAlpha::kKeep).empty());
  EXPECT_TRUE(PIX_EncodePNG(nullptr, PIX_PNGAlpha::kKeep).empty());
  PIX_PNGRaw raw;
  raw.width = 4;
  raw.height = 2;
  raw.rows = {{1, 2, 3}};  // one row short, and short itself
  EXPECT_TRUE(PIX_EncodePNG(raw).empty());
  raw.rows = {std::vector<uint8_t>(16), std::vector<uint8_t>(15)};
  EXPECT_TRUE(PIX_EncodePNG(raw).empty());
  raw.rows[1].resize(16);
  EXPECT_FALSE(PIX_EncodePNG(raw).empty());
  raw.bitDepth = 4;  // RGBA has no 4-bit form
  EXPECT_TRUE(PIX_EncodePNG(raw).empty());
  raw.bitDepth = 8;
  raw.colorType = PIX_PNGColor::kPalette;  // without a palette
  EXPECT_TRUE(PIX_EncodePNG(raw).empty());
  EXPECT_FALSE(PIX_WriteFile("/no/such/dir/x.png", keep));
  EXPECT_FALSE(PIX_WriteFile(nullptr, keep));
}
