// qv_artwork OUTDIR [--scale N] [--only FILE.png]... [--legends TABLE.cpp]
//            [--preview OUT.png [--frame F] [--lit]]
// Draws the editor's film strips into OUTDIR; the preview composes the strips found in OUTDIR.
#include "artwork/Preview.h"
#include "artwork/StripPng.h"
#include "plugin/artwork/LegendFace.h"
#include "plugin/artwork/Strips.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
int Usage() {
  std::fprintf(stderr,
               "usage: qv_artwork OUTDIR [--scale N] [--only FILE.png]... [--legends TABLE.cpp]\n"
               "                  [--preview OUT.png [--frame F] [--lit]]\n"
               "  writes the 18 film strips into OUTDIR (named NAME@Sx.png at a scale S other than 1);\n"
               "  --only limits that to the named strips;\n"
               "  --legends writes the buttons' legend glyphs instead: LEGENDS.png into OUTDIR, their table\n"
               "  into TABLE.cpp;\n"
               "  --preview composes the strips in OUTDIR at frame fraction F (default 0.5)\n"
               "  instead of drawing them, --lit showing the buttons lit.\n");
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argv[1][0] == '-') return Usage();
  const std::string dir = argv[1];
  double scale = 1.0, frame = 0.5;
  bool lit = false;
  std::string preview, legends;
  std::vector<std::string> only;
  for (int i = 2; i < argc; i++) {
    const bool more = i + 1 < argc;
    if (!std::strcmp(argv[i], "--scale") && more)
      scale = std::atof(argv[++i]);
    else if (!std::strcmp(argv[i], "--only") && more)
      only.push_back(argv[++i]);
    else if (!std::strcmp(argv[i], "--legends") && more)
      legends = argv[++i];
    else if (!std::strcmp(argv[i], "--preview") && more)
      preview = argv[++i];
    else if (!std::strcmp(argv[i], "--frame") && more)
      frame = std::atof(argv[++i]);
    else if (!std::strcmp(argv[i], "--lit"))
      lit = true;
    else
      return Usage();
  }
  if (!(scale >= 1.0 && scale <= 8.0)) {
    std::fprintf(stderr, "qv_artwork: --scale must be between 1 and 8\n");
    return 2;
  }

  if (!preview.empty()) {
    PIX_MemBitmap out;
    if (!ComposePreview(dir, frame, lit, scale, &out) ||
        !PIX_WriteFile(preview.c_str(), EncodeStripPng(&out))) {
      std::fprintf(stderr, "qv_artwork: cannot compose %s from %s\n", preview.c_str(), dir.c_str());
      return 1;
    }
    return 0;
  }

  if (!legends.empty()) {
    PIX_MemBitmap sheet;
    std::string table;
    if (!RenderLegendSheet(&sheet, &table)) {
      std::fprintf(stderr, "qv_artwork: cannot draw the legends (is fonts-dejavu-extra installed?)\n");
      return 1;
    }
    const std::string path = dir + "/LEGENDS.png";
    if (!PIX_WriteFile(path.c_str(), EncodeLegendSheetPng(&sheet)) ||
        !PIX_WriteFile(legends.c_str(), std::vector<uint8_t>(table.begin(), table.end()))) {
      std::fprintf(stderr, "qv_artwork: cannot write %s or %s\n", path.c_str(), legends.c_str());
      return 1;
    }
    std::printf("LEGENDS.png    %4d x %-5d\n", sheet.getWidth(), sheet.getHeight());
    return 0;
  }

  for (const std::string& f : only)
    if (!FindStrip(f)) {
      std::fprintf(stderr, "qv_artwork: no strip named %s\n", f.c_str());
      return 2;
    }
  for (const StripInfo& s : AllStrips()) {
    if (!only.empty()) {
      bool wanted = false;
      for (const std::string& f : only) wanted = wanted || f == s.file;
      if (!wanted) continue;
    }
    PIX_MemBitmap bm;
    if (!RenderStrip(s, scale, &bm)) {
      std::fprintf(stderr, "qv_artwork: cannot draw %s (is fonts-dejavu-extra installed?)\n", s.file.c_str());
      return 1;
    }
    const std::vector<uint8_t> png = EncodeStripPng(&bm);
    const std::string path = dir + "/" + StripFileName(s.file, scale);
    if (!PIX_WriteFile(path.c_str(), png)) {
      std::fprintf(stderr, "qv_artwork: cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%-14s %4d x %-5d %3d frames %9zu bytes\n", s.file.c_str(), bm.getWidth(), bm.getHeight(),
                s.frames, png.size());
  }
  return 0;
}
