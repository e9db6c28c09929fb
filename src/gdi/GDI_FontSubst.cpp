// Face substitution table (see GDI_FontSubst.h). Editors name Mac or Windows faces; the table
// keeps their character (fixed pitch, serifs) when the face itself is absent.
#include "gdi/GDI_FontSubst.h"

#include <cctype>
#include <cstring>

namespace {
const char* const kMonospaced[] = {"monaco",          "menlo",
                                   "courier",         "courier new",
                                   "consolas",        "lucida console",
                                   "andale mono",     "sf mono",
                                   "fixedsys",        "terminal",
                                   "monospace",       "dejavu sans mono",
                                   "liberation mono", "lucida sans typewriter",
                                   "source code pro", "fixed"};
const char* const kSerif[] = {
    "times",        "times new roman",  "georgia",     "palatino",    "palatino linotype",
    "garamond",     "book antiqua",     "cambria",     "new york",    "serif",
    "dejavu serif", "liberation serif", "baskerville", "hoefler text"};

bool InList(const char* face, const char* const* list, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (GDI_SameFaceName(face, list[i])) return true;
  return false;
}
}  // namespace

bool GDI_SameFaceName(const char* a, const char* b) {
  if (!a || !b) return false;
  for (;;) {
    while (*a == ' ') ++a;
    while (*b == ' ') ++b;
    if (!*a || !*b) return !*a && !*b;
    if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
      return false;
    ++a;
    ++b;
  }
}

const char* GDI_GenericFamilyFor(const char* face) {
  if (face && InList(face, kMonospaced, sizeof(kMonospaced) / sizeof(*kMonospaced))) return "monospace";
  if (face && InList(face, kSerif, sizeof(kSerif) / sizeof(*kSerif))) return "serif";
  return "sans-serif";
}
