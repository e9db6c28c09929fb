// Font rasteriser for Linux and other non-Apple systems: fontconfig finds the face, FreeType
// renders it.
#if !defined(__APPLE__) && !defined(_WIN32)

#include "gdi/GDI_FontImpl.h"
#include "gdi/GDI_FontSubst.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {
// FreeType's library object and fontconfig's configuration are shared by all fonts; creating
// and destroying faces must not race.
std::mutex& LibraryMutex() {
  static std::mutex m;
  return m;
}

// Faces open now, under the library mutex.
int gLiveFaces = 0;

// The library is ours: it goes when the module is unloaded, unless a face somehow outlives it.
struct LibraryHolder {
  FT_Library lib = nullptr;
  bool tried = false;
  ~LibraryHolder() {
    if (lib && gLiveFaces == 0) FT_Done_FreeType(lib);
  }
};

FT_Library Library() {
  static LibraryHolder holder;
  if (!holder.tried) {
    holder.tried = true;
    if (FT_Init_FreeType(&holder.lib) != 0) holder.lib = nullptr;
  }
  return holder.lib;
}

// fontconfig's configuration belongs to the whole process (a host may share it), so it is never
// finished; instead the library stays mapped after a plug-in is unloaded, keeping that
// configuration in place rather than stranding it in unmapped code.
void PinFontconfig() {
  static const bool pinned = dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_NODELETE) != nullptr;
  (void)pinned;
}

struct Match {
  std::string file;
  int index = 0;
  std::string family;
  int weight = FC_WEIGHT_REGULAR;
  int slant = FC_SLANT_ROMAN;
};

bool FcMatchFamily(const char* family, const GDI_FontRequest& req, Match* out) {
  FcPattern* pat = FcPatternCreate();
  if (!pat) return false;
  FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddInteger(pat, FC_WEIGHT, FcWeightFromOpenType(std::min(req.weight, 1000)));
  FcPatternAddInteger(pat, FC_SLANT, req.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pat, FcMatchPattern);
  FcDefaultSubstitute(pat);
  FcResult res = FcResultNoMatch;
  FcPattern* m = FcFontMatch(nullptr, pat, &res);
  FcPatternDestroy(pat);
  if (!m) return false;
  FcChar8* file = nullptr;
  FcChar8* fam = nullptr;
  bool ok = FcPatternGetString(m, FC_FILE, 0, &file) == FcResultMatch && file;
  if (ok) {
    out->file = reinterpret_cast<const char*>(file);
    if (FcPatternGetInteger(m, FC_INDEX, 0, &out->index) != FcResultMatch) out->index = 0;
    if (FcPatternGetString(m, FC_FAMILY, 0, &fam) == FcResultMatch && fam)
      out->family = reinterpret_cast<const char*>(fam);
    FcPatternGetInteger(m, FC_WEIGHT, 0, &out->weight);
    FcPatternGetInteger(m, FC_SLANT, 0, &out->slant);
  }
  FcPatternDestroy(m);
  return ok;
}

// True when one of the match's family names (a face can have several) is the requested one.
bool FcMatchHasFamily(const Match& m, const char* face) {
  FcPattern* pat =
      FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(m.file.c_str()), m.index, nullptr, nullptr);
  if (!pat) return GDI_SameFaceName(m.family.c_str(), face);
  bool same = false;
  FcChar8* fam = nullptr;
  for (int i = 0; !same && FcPatternGetString(pat, FC_FAMILY, i, &fam) == FcResultMatch; ++i)
    same = GDI_SameFaceName(reinterpret_cast<const char*>(fam), face);
  FcPatternDestroy(pat);
  return same;
}

int RoundPx(double v) { return static_cast<int>(std::lround(v)); }

class FreeTypeBackend final : public GDI_FontBackend {
 public:
  ~FreeTypeBackend() override {
    std::lock_guard<std::mutex> lock(LibraryMutex());
    if (mFace) {
      FT_Done_Face(mFace);
      --gLiveFaces;
    }
  }

  bool Open(const GDI_FontRequest& req) {
    std::lock_guard<std::mutex> lock(LibraryMutex());
    PinFontconfig();
    if (!Library() || !FcInit()) return false;
    const char* face = req.face.empty() ? "sans-serif" : req.face.c_str();
    Match m;
    bool found = FcMatchFamily(face, req, &m);
    // fontconfig always answers with something; keep the face's character when it is absent.
    if (!found || !FcMatchHasFamily(m, face)) {
      Match generic;
      if (FcMatchFamily(GDI_GenericFamilyFor(face), req, &generic)) {
        m = generic;
        found = true;
      }
    }
    if (!found) return false;
    if (FT_New_Face(Library(), m.file.c_str(), m.index, &mFace) != 0) {
      mFace = nullptr;
      return false;
    }
    ++gLiveFaces;
    mFamily = m.family;
    mEmbolden = req.weight >= 600 && m.weight < FC_WEIGHT_DEMIBOLD;
    mOblique = req.italic && m.slant == FC_SLANT_ROMAN;
    mAntiAlias = req.antiAlias;
    return SetSize(req);
  }

  const GDI_FontMetrics& Metrics() const override { return mMetrics; }
  const std::string& Family() const override { return mFamily; }

  bool RenderGlyph(uint32_t cp, GDI_Glyph* out) override {
    FT_UInt index = FT_Get_Char_Index(mFace, cp);
    // Missing characters show the face's placeholder glyph rather than vanishing.
    FT_Int32 flags = mAntiAlias ? FT_LOAD_TARGET_LIGHT : (FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME);
    if (FT_Load_Glyph(mFace, index, flags) != 0) return false;
    FT_GlyphSlot slot = mFace->glyph;
    if (mEmbolden) FT_GlyphSlot_Embolden(slot);
    if (mOblique) FT_GlyphSlot_Oblique(slot);
    if (FT_Render_Glyph(slot, mAntiAlias ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return false;
    const FT_Bitmap& bm = slot->bitmap;
    out->advanceX = static_cast<int32_t>(slot->advance.x);
    out->advanceY = static_cast<int32_t>(-slot->advance.y);
    out->left = slot->bitmap_left;
    out->top = -slot->bitmap_top;
    out->width = static_cast<int>(bm.width);
    out->height = static_cast<int>(bm.rows);
    out->coverage.assign(size_t(out->width) * size_t(out->height), 0);
    for (int y = 0; y < out->height; ++y) {
      const unsigned char* row = bm.buffer + (bm.pitch >= 0 ? y : y - out->height + 1) * bm.pitch;
      uint8_t* dst = out->coverage.data() + size_t(y) * size_t(out->width);
      for (int x = 0; x < out->width; ++x) {
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
          dst[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY)
          dst[x] = bm.num_grays == 256 ? row[x] : uint8_t(row[x] * 255 / std::max(1, bm.num_grays - 1));
      }
    }
    return true;
  }

 private:
  bool SetSize(const GDI_FontRequest& req) {
    const double upem = mFace->units_per_EM > 0 ? mFace->units_per_EM : 2048;
    double asc = mFace->ascender, desc = -mFace->descender;
    // The Windows metrics define the cell the request's height refers to, when the face has them.
    if (const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(mFace, FT_SFNT_OS2))) {
      if (os2->usWinAscent + os2->usWinDescent > 0) {
        asc = os2->usWinAscent;
        desc = os2->usWinDescent;
      }
    }
    if (asc + desc <= 0) {
      asc = upem * 0.8;
      desc = upem * 0.2;
    }
    double em;
    if (req.height > 0) {
      em = req.height * upem / (asc + desc);
      mMetrics.ascent = RoundPx(asc * req.height / (asc + desc));
      mMetrics.descent = req.height - mMetrics.ascent;
    } else {
      em = -req.height;
      mMetrics.ascent = static_cast<int>(std::ceil(asc * em / upem));
      mMetrics.descent = static_cast<int>(std::ceil(desc * em / upem));
    }
    mMetrics.emSize = RoundPx(em);
    if (FT_Set_Char_Size(mFace, 0, std::max<FT_F26Dot6>(1, FT_F26Dot6(std::lround(em * 64))), 72, 72) != 0)
      return false;

    const double scale = em / upem;
    mMetrics.underlinePos = std::max(1, RoundPx(-mFace->underline_position * scale));
    mMetrics.lineThickness = std::max(1, RoundPx(mFace->underline_thickness * scale));
    mMetrics.maxCharWidth = std::max(1, RoundPx(mFace->max_advance_width * scale));
    if (const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(mFace, FT_SFNT_OS2));
        os2 && os2->xAvgCharWidth > 0)
      mMetrics.avgCharWidth = std::max(1, RoundPx(os2->xAvgCharWidth * scale));
    else
      mMetrics.avgCharWidth = std::max(1, mMetrics.maxCharWidth / 2);

    if (req.escapement != 0) {
      const double a = req.escapement * 3.14159265358979323846 / 1800.0;
      FT_Matrix mat;
      mat.xx = FT_Fixed(std::lround(std::cos(a) * 65536.0));
      mat.xy = FT_Fixed(std::lround(-std::sin(a) * 65536.0));
      mat.yx = FT_Fixed(std::lround(std::sin(a) * 65536.0));
      mat.yy = FT_Fixed(std::lround(std::cos(a) * 65536.0));
      FT_Set_Transform(mFace, &mat, nullptr);
    }
    return true;
  }

  FT_Face mFace = nullptr;
  std::string mFamily;
  GDI_FontMetrics mMetrics;
  bool mEmbolden = false;
  bool mOblique = false;
  bool mAntiAlias = true;
};
}  // namespace

std::unique_ptr<GDI_FontBackend> GDI_OpenFontBackend(const GDI_FontRequest& req) {
  std::unique_ptr<FreeTypeBackend> b(new FreeTypeBackend);
  if (!b->Open(req)) return nullptr;
  return b;
}

#endif
