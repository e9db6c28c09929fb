// The committed editor images: the frame counts and sizes the editor layout relies on, frames
// that stay clear of each other on the 664 x 662 editor, and the generator reproducing the
// committed bytes.
#include "artwork/StripPng.h"
#include "pix/PIX_PNG.h"
#include "plugin/artwork/LegendFace.h"
#include "plugin/artwork/Strips.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {
const std::string kDir = QV_ARTWORK_DIR;

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::vector<uint8_t> out;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
    std::fclose(f);
  }
  return out;
}
}  // namespace

TEST(Artwork, CommittedStripsHaveTheLayoutsFramesAndSizes) {
  const std::map<std::string, int> frames = {
      {"ATTACK.png", 6},  {"BG.png", 1},    {"BOOST.png", 121},  {"BYPASS.png", 2},      {"EXT.png", 2},
      {"HF.png", 121},    {"HPF.png", 121}, {"MAKEUP.png", 121}, {"METER.png", 211},     {"MID.png", 121},
      {"MIX.png", 121},   {"RATIO.png", 6}, {"RELEASE.png", 5},  {"THRESHOLD.png", 121}, {"TILT.png", 121},
      {"TRMIX.png", 121}, {"TURBO.png", 2}, {"XFORMER.png", 2}};
  ASSERT_EQ(AllStrips().size(), frames.size());
  for (const StripInfo& s : AllStrips()) {
    SCOPED_TRACE(s.file);
    ASSERT_EQ(frames.count(s.file), 1u);
    EXPECT_EQ(s.frames, frames.at(s.file));
    std::unique_ptr<PIX_IBitmap> bm(PIX_LoadPNG((kDir + "/" + s.file).c_str()));
    ASSERT_TRUE(bm);
    ASSERT_EQ(bm->getHeight() % s.frames, 0);
    EXPECT_EQ(bm->getWidth(), s.frameW);
    EXPECT_EQ(bm->getHeight() / s.frames, s.frameH);
    const bool knob =
        s.frames == 121 || s.file == "ATTACK.png" || s.file == "RATIO.png" || s.file == "RELEASE.png";
    if (knob) {
      EXPECT_EQ(s.frameW, 92);
      EXPECT_EQ(s.frameH, 92);
    }
    if (s.file == "BG.png") {
      EXPECT_EQ(s.frameW, 664);
      EXPECT_EQ(s.frameH, 662);
    }
  }
  // The faceplate the editor shows from 125 % up: twice the size, opaque like the 1x plate.
  int w = 0, h = 0;
  ASSERT_TRUE(PIX_ReadPNGSize((kDir + "/BG@2x.png").c_str(), &w, &h));
  EXPECT_EQ(w, 1328);
  EXPECT_EQ(h, 1324);
}

TEST(Artwork, ControlFramesStayInsideTheEditorAndApart) {
  std::vector<const StripInfo*> controls;
  for (const StripInfo& s : AllStrips())
    if (s.file != "BG.png") controls.push_back(&s);
  for (size_t i = 0; i < controls.size(); i++) {
    const StripInfo& a = *controls[i];
    EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.x + a.frameW <= 664 && a.y + a.frameH <= 662) << a.file;
    for (size_t j = i + 1; j < controls.size(); j++) {
      const StripInfo& b = *controls[j];
      const bool apart =
          a.x + a.frameW <= b.x || b.x + b.frameW <= a.x || a.y + a.frameH <= b.y || b.y + b.frameH <= a.y;
      EXPECT_TRUE(apart) << a.file << " overlaps " << b.file;
    }
  }
}

TEST(Artwork, RegeneratingStripsReproducesTheCommittedBytes) {
  for (const char* file : {"ATTACK.png", "RELEASE.png", "TURBO.png"}) {
    SCOPED_TRACE(file);
    const StripInfo* s = FindStrip(file);
    ASSERT_TRUE(s);
    PIX_MemBitmap bm;
    ASSERT_TRUE(RenderStrip(*s, 1.0, &bm));
    const std::vector<uint8_t> png = EncodeStripPng(&bm);
    ASSERT_FALSE(png.empty());
    EXPECT_TRUE(png == ReadFile(kDir + "/" + file)) << "regenerate with qv_artwork src/plugin/resources/img";
  }
}

// The legend glyphs the editor draws its buttons with come from the system's font as the committed
// sheet and table hold them, so the two cannot drift apart from each other or from the font.
TEST(Artwork, RegeneratingTheLegendGlyphsReproducesTheCommittedSheetAndTable) {
  PIX_MemBitmap sheet;
  std::string table;
  ASSERT_TRUE(RenderLegendSheet(&sheet, &table));
  const std::vector<uint8_t> png = EncodeLegendSheetPng(&sheet);
  const char* how =
      "regenerate with qv_artwork src/plugin/resources/img --legends src/plugin/artwork/LegendGlyphs.cpp";
  EXPECT_TRUE(png == ReadFile(kDir + "/LEGENDS.png")) << how;
  const std::vector<uint8_t> source = ReadFile(QV_LEGEND_TABLE);
  EXPECT_TRUE(std::string(source.begin(), source.end()) == table) << how;
  EXPECT_EQ(LegendCharacters(), " BCEFIMNORSTUX");
}
