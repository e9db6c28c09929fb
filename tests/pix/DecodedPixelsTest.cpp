// The pixels every PNG decoder of ours gives, pinned: libpng on Linux and macOS, the Windows Imaging
// Component on Windows. The same table holds on every system, so a Windows build shows the editor's
// film strips exactly as Linux does. The small files cover palettes with transparency, packed grey,
// grey with alpha and 16-bit samples (kept by their high byte). Set QV_UPDATE_GOLDEN=1 (from tests/)
// to rewrite the table after an intended change.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "pix/PIX_PNG.h"
#include "pix/PIX_Pixel.h"

namespace {
const char* kTable = "pix/data/decoded_pixels.txt";
const char* const kFiles[] = {
    "pix/data/decode/grey1.png",
    "pix/data/decode/grey_alpha.png",
    "pix/data/decode/palette4.png",
    "pix/data/decode/palette_trns.png",
    "pix/data/decode/rgb8.png",
    "pix/data/decode/rgba16.png",
    "pix/data/golden_card.png",
    "graphics/data/control_card.png",
    "tools/data/editor@2x.png",
    "../src/plugin/resources/img/BG.png",
    "../src/plugin/resources/img/BG@2x.png",
    "../src/plugin/resources/img/BYPASS.png",
    "../src/plugin/resources/img/METER.png",
    "../src/plugin/resources/img/THRESHOLD.png",
};

// FNV-1a over the pixel words, row by row.
uint64_t PixelHash(PIX_IBitmap* bm) {
  uint64_t h = 1469598103934665603ull;
  for (int y = 0; y < bm->getHeight(); ++y) {
    const PIX_Pixel* row = bm->getBits() + static_cast<long>(y) * bm->getRowSpan();
    for (int x = 0; x < bm->getWidth(); ++x) {
      for (int b = 0; b < 32; b += 8) {
        h ^= (row[x] >> b) & 0xFFu;
        h *= 1099511628211ull;
      }
    }
  }
  return h;
}

std::string Describe(const char* file) {
  std::unique_ptr<PIX_IBitmap> bm(PIX_LoadPNG(file));
  if (!bm) return std::string(file) + " undecodable";
  char line[512];
  std::snprintf(line, sizeof line, "%s %dx%d %016llx", file, bm->getWidth(), bm->getHeight(),
                static_cast<unsigned long long>(PixelHash(bm.get())));
  return line;
}
}  // namespace

TEST(DecodedPixels, EqualTheTableOnEverySystem) {
  std::vector<std::string> got;
  for (const char* f : kFiles) got.push_back(Describe(f));

  const char* update = std::getenv("QV_UPDATE_GOLDEN");
  if (update && *update && *update != '0') {
    FILE* out = std::fopen(kTable, "w");
    ASSERT_TRUE(out);
    for (const std::string& line : got) std::fprintf(out, "%s\n", line.c_str());
    ASSERT_EQ(std::fclose(out), 0);
    GTEST_SKIP() << "table rewritten: " << kTable;
  }
  FILE* in = std::fopen(kTable, "r");
  ASSERT_TRUE(in) << "missing " << kTable << " (run with QV_UPDATE_GOLDEN=1 from tests/)";
  std::vector<std::string> want;
  char line[512];
  while (std::fgets(line, sizeof line, in)) {
    std::string s(line);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    if (!s.empty()) want.push_back(s);
  }
  std::fclose(in);
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], want[i]);
}
