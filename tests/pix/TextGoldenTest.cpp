// Renders a card of text through every path of the cached font and compares it with a committed
// reference image. Rasterisers differ slightly between versions, so the comparison has a
// tolerance. Regenerate the reference with QV_UPDATE_GOLDEN=1.
#include "gdi/GDI_Font.h"
#include "pix/PIX_Blit.h"
#include "pix/PIX_CachedFont.h"
#include "pix/PIX_Fill.h"
#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_PNGWrite.h"
#include "pix/PIX_SysBitmap.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {
constexpr int kW = 256, kH = 176;
const char* const kReference = "pix/data/text_card.png";

std::unique_ptr<PIX_CachedFont> MakeFont(int height, const char* face, int weight, int italic, int flags) {
  std::unique_ptr<PIX_CachedFont> f(new PIX_CachedFont);
  f->SetFromHFont(
      GDI_CreateFont(height, 0, 0, 0, weight, italic, 0, 0, 0, 0, 0, GDI_ANTIALIASED_QUALITY, 0, face),
      flags | PIX_FONT_FLAG_OWNS_HFONT);
  return f;
}

void DrawCard(PIX_IBitmap* card) {
  PIX_Clear(card, 0xFF202830);
  RECT r;

  auto title = MakeFont(28, "DejaVu Sans", GDI_FW_BOLD, 0, PIX_FONT_FLAG_PREFER_NATIVE);
  title->SetTextColor(0xFFFFFFFF);
  r = {0, 4, kW, 40};
  title->DrawText(card, "Quorvane", -1, &r, PIX_DT_CENTER | PIX_DT_NOCLIP);

  auto label = MakeFont(13, "DejaVu Sans", GDI_FW_NORMAL, 0, PIX_FONT_FLAG_PREFER_NATIVE);
  label->SetTextColor(0xC0FFC040);
  r = {8, 40, 200, 60};
  label->DrawText(card, "Threshold -12.5 dB", -1, &r, PIX_DT_USEFGALPHA);

  auto mono = MakeFont(12, "DejaVu Sans Mono", GDI_FW_NORMAL, 0, 0);
  mono->SetTextColor(0xFF80D0FF);
  r = {120, 58, 248, 90};
  mono->DrawText(card, "Attack\n10.0 ms", -1, &r, PIX_DT_RIGHT);

  auto boxed = MakeFont(14, "DejaVu Sans", GDI_FW_NORMAL, 0, 0);
  boxed->SetTextColor(0xFF000000);
  boxed->SetBkMode(1);
  boxed->SetBkColor(0xFFE0E060);
  r = {8, 64, 110, 80};
  boxed->DrawText(card, "Ratio 4:1", -1, &r, 0);

  auto intl = MakeFont(15, "DejaVu Serif", GDI_FW_NORMAL, 1, 0);
  intl->SetTextColor(0xFFFFA0A0);
  r = {8, 92, 200, 112};
  intl->DrawText(card, "\xC3\x84\xC3\x96\xC3\x9C \xE2\x82\xAC 5 \xC3\x9F \xE2\x80\x94 \xFF ok", -1, &r, 0);

  auto shadow = MakeFont(16, "DejaVu Sans", GDI_FW_BOLD, 0, PIX_FONT_FLAG_SHADOW);
  shadow->SetTextColor(0xFFFFFFFF);
  shadow->SetEffectColor(0xFF000000);
  r = {8, 116, 200, 136};
  shadow->DrawText(card, "Make-Up Gain", -1, &r, 0);

  auto vertical =
      MakeFont(12, "DejaVu Sans", GDI_FW_NORMAL, 0, PIX_FONT_FLAG_VERTICAL | PIX_FONT_FLAG_VERTICAL_BOTUP);
  vertical->SetTextColor(0xFF60FF60);
  r = {232, 96, 250, 172};
  vertical->DrawText(card, "GR dB", -1, &r, PIX_DT_CENTER | PIX_DT_VCENTER);

  // Native text into a plain memory bitmap, at half weight over a lighter panel.
  PIX_MemBitmap panel(120, 30, 4);
  PIX_Clear(&panel, 0xFF506070);
  auto native = MakeFont(14, "DejaVu Sans Mono", GDI_FW_NORMAL, 0, PIX_FONT_FLAG_PREFER_NATIVE);
  native->SetTextColor(0xFFFFFFFF);
  native->SetCombineMode(0, 0.5f);
  r = {0, 0, 120, 30};
  native->DrawText(&panel, "Mix 100 %", -1, &r, PIX_DT_CENTER | PIX_DT_VCENTER);
  PIX_Blit(card, &panel, 8, 140, nullptr, 1.0f, 0);
}

// The card as shown on an opaque surface.
bool WritePng(const std::string& path, PIX_IBitmap* bm) {
  return PIX_WriteFile(path.c_str(), PIX_EncodePNG(bm, PIX_PNGAlpha::kDrop));
}

bool ReadPng(const std::string& path, std::vector<uint8_t>* rgba) {
  png_image img;
  std::memset(&img, 0, sizeof img);
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&img, path.c_str())) return false;
  img.format = PNG_FORMAT_RGBA;
  if (img.width != unsigned(kW) || img.height != unsigned(kH)) {
    png_image_free(&img);
    return false;
  }
  rgba->resize(PNG_IMAGE_SIZE(img));
  return png_image_finish_read(&img, nullptr, rgba->data(), 0, nullptr) != 0;
}
}  // namespace

TEST(TextGolden, CardMatchesTheReference) {
  PIX_SysBitmap card(kW, kH);
  ASSERT_NE(card.getBits(), nullptr);
  DrawCard(&card);

  const char* update = std::getenv("QV_UPDATE_GOLDEN");
  if (update && *update && std::strcmp(update, "0") != 0) {
    ASSERT_TRUE(WritePng(kReference, &card));
    GTEST_SKIP() << "reference rewritten: " << kReference;
  }

  std::vector<uint8_t> ref;
  ASSERT_TRUE(ReadPng(kReference, &ref)) << "missing or unreadable " << kReference;
  long long total = 0;
  int far = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const PIX_Pixel p = card.getBits()[y * card.getRowSpan() + x];
      const uint8_t* q = &ref[(size_t(y) * kW + x) * 4];
      const int d = std::max(
          {std::abs(PIX_GetR(p) - q[0]), std::abs(PIX_GetG(p) - q[1]), std::abs(PIX_GetB(p) - q[2])});
      total += d;
      if (d > 96) ++far;
    }
  const double mean = double(total) / (kW * kH);
  const bool ok = mean < 2.0 && far < kW * kH / 100;
  if (!ok) {
    const std::string actual = ::testing::TempDir() + "text_card.actual.png";
    WritePng(actual, &card);
    ADD_FAILURE() << "text card differs (mean " << mean << ", " << far << " far pixels); actual written to "
                  << actual;
  }
}
