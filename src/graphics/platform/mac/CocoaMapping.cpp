// The Cocoa window's platform-neutral rules; see CocoaMapping.h.
#include "graphics/platform/mac/CocoaMapping.h"

#include "framework/IParam.h"
#include "graphics/PromptCharacters.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace CocoaMapping {

namespace {
// Modifier bits of a Cocoa event.
constexpr unsigned long long kShiftFlag = 1ull << 17;
constexpr unsigned long long kControlFlag = 1ull << 18;
constexpr unsigned long long kOptionFlag = 1ull << 19;
constexpr unsigned long long kCommandFlag = 1ull << 20;

// Virtual key codes of the keys the engine knows by position rather than by character.
constexpr unsigned short kVKSpace = 49;
constexpr unsigned short kVKLeft = 123;
constexpr unsigned short kVKRight = 124;
constexpr unsigned short kVKDown = 125;
constexpr unsigned short kVKUp = 126;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
}  // namespace

Rect ToCocoaRect(const IRECT& r, int viewHeight) {
  Rect c;
  c.x = r.L;
  c.y = viewHeight - r.B - 1;
  c.w = r.R - r.L + 1;
  c.h = r.B - r.T + 1;
  return c;
}

IRECT ToIRECT(const Rect& r, int viewHeight) {
  const int x = static_cast<int>(r.x), y = static_cast<int>(r.y);
  const int w = static_cast<int>(r.w), h = static_cast<int>(r.h);
  return IRECT(x, viewHeight - y - h, x + w, viewHeight - y);
}

void ToEditorPoint(double x, double y, int viewHeight, int* editorX, int* editorY) {
  *editorX = static_cast<int>(x) - 2;
  *editorY = viewHeight - static_cast<int>(y) - 3;
}

IMouseMod MouseModFromFlags(unsigned long long modifierFlags, EMouseButton button) {
  IMouseMod mod;
  mod.S = (modifierFlags & kShiftFlag) != 0;
  mod.C = (modifierFlags & kControlFlag) != 0;
  mod.A = (modifierFlags & kOptionFlag) != 0;
  if (button == kButtonLeft) {
    mod.L = true;
    mod.R = (modifierFlags & kCommandFlag) != 0;
  } else if (button == kButtonRight) {
    mod.R = true;
  }
  return mod;
}

int KeyCodeFor(unsigned short virtualKeyCode, unsigned int character) {
  switch (virtualKeyCode) {
    case kVKLeft:
      return 3;
    case kVKRight:
      return 4;
    case kVKDown:
      return 2;
    case kVKUp:
      return 1;
    case kVKSpace:
      return 0;
    default:
      break;
  }
  if (character >= '0' && character <= '9') return 5 + static_cast<int>(character - '0');
  if (character >= 'A' && character <= 'Z') return 15 + static_cast<int>(character - 'A');
  if (character >= 'a' && character <= 'z') return 15 + static_cast<int>(character - 'a');
  return kNoKey;
}

AlertButtons AlertButtonsForType(int type) {
  AlertButtons b;
  switch (type) {
    case 1:  // OK, Cancel
      b.alternateTitle = "Cancel";
      break;
    case 3:  // Yes, No, Cancel
      b.defaultTitle = "Yes";
      b.alternateTitle = "No";
      b.otherTitle = "Cancel";
      break;
    case 4:  // Yes, No
      b.defaultTitle = "Yes";
      b.alternateTitle = "No";
      break;
    default:
      break;
  }
  return b;
}

int MessageBoxResult(EAlertResponse response) {
  switch (response) {
    case kResponseDefault:
      return 1;
    case kResponseAlternate:
      return 7;
    case kResponseOther:
      return 2;
    default:
      return 0;
  }
}

std::string MenuItemTitle(int prefix, int position, const char* text) {
  static const char* const kFormats[] = {"", "%1d: ", "%02d: ", "%03d: "};
  std::string title;
  if (prefix >= 1 && prefix <= 3) {
    char buf[24];
    std::snprintf(buf, sizeof(buf), kFormats[prefix], position);
    title = buf;
  }
  title += text ? text : "";
  return title;
}

const char* TextEntryCharacters(int paramKind) { return PromptCharacters(paramKind); }

int LeadingIntValue(const char* text) {
  if (!text) return 0;
  while (IsSpace(*text)) ++text;
  const bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  // Accumulate toward the sign so INT_MIN is reachable without overflow.
  long long v = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    v = v * 10 + (*text - '0');
    if (v > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) return v > static_cast<long long>(INT_MAX) ? INT_MIN : static_cast<int>(-v);
  return v > INT_MAX ? INT_MAX : static_cast<int>(v);
}

bool IsEntryTextValid(const char* text, const char* allowed, int maxLength, int maxValue) {
  if (!text) text = "";
  int utf16Length = 0;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (allowed && !std::strchr(allowed, *p)) return false;
    if ((*p & 0xC0) != 0x80) utf16Length += *p >= 0xF0 ? 2 : 1;  // 4-byte sequences are surrogate pairs
  }
  if (maxLength && utf16Length > maxLength) return false;
  if (maxValue && LeadingIntValue(text) > maxValue) return false;
  return true;
}

std::string FilePromptStartDir(const char* dir) {
  return dir && *dir ? std::string(dir) : std::string("~/Desktop");
}

std::vector<std::string> SplitExtensions(const char* extensions) {
  std::vector<std::string> out;
  if (!extensions) return out;
  const char* p = extensions;
  while (*p) {
    const char* end = std::strchr(p, ' ');
    if (!end) end = p + std::strlen(p);
    if (end > p) out.emplace_back(p, end);
    p = *end ? end + 1 : end;
  }
  return out;
}

std::string FolderOfPath(const char* path) {
  if (!path) return std::string();
  const char* slash = std::strrchr(path, '/');
  return slash ? std::string(path, slash + 1) : std::string();
}

bool IsWebAddress(const char* url) { return url && std::strstr(url, "http") != nullptr; }

bool IsPNGName(const char* fileName) {
  if (!fileName) return false;
  const char* dot = std::strrchr(fileName, '.');
  if (!dot) return false;
  const char* ext = dot + 1;
  return std::strlen(ext) == 3 && (ext[0] == 'p' || ext[0] == 'P') && (ext[1] == 'n' || ext[1] == 'N') &&
         (ext[2] == 'g' || ext[2] == 'G');
}

std::string ResourceBaseName(const char* fileName) {
  if (!fileName) return std::string();
  const char* slash = std::strrchr(fileName, '/');
  std::string name = slash ? slash + 1 : fileName;
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

int SubWindowXOffset(double hostWidth, int editorWidth) {
  return hostWidth > editorWidth ? static_cast<int>(std::floor((hostWidth - editorWidth) * 0.5)) : 0;
}

}  // namespace CocoaMapping
