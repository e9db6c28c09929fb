// PNG images linked into the module, else from the bundle's resources:
// <bundle>/Contents/Resources/<name>. On macOS the bundle is the main bundle; elsewhere it is the
// bundle holding the module this code is linked into (<bundle>/Contents/<arch>/<module>), or failing
// that the module's own folder.
#include <cstring>
#include <string>

#include "pix/PIX_PNG.h"

#if defined(__APPLE__)
#include <CoreFoundation/CoreFoundation.h>
#else
#include "base/ModulePath.h"
#endif

namespace {
const size_t kMaxName = 400;
const size_t kMaxBundlePath = 1536;
const PIX_EmbeddedImage* gEmbedded = nullptr;
int gNEmbedded = 0;

#if defined(__APPLE__)
bool BundlePath(char* out, size_t size) {
  CFBundleRef bundle = CFBundleGetMainBundle();
  if (!bundle) return false;
  CFURLRef url = CFBundleCopyBundleURL(bundle);
  if (!url) return false;
  const bool ok = CFURLGetFileSystemRepresentation(url, true, (UInt8*)out, (CFIndex)size);
  CFRelease(url);
  return ok;
}
#else
bool IsSeparator(char c) {
#if defined(_WIN32)
  return c == '/' || c == '\\';
#else
  return c == '/';
#endif
}

size_t LastSeparator(const std::string& path) {
  for (size_t i = path.size(); i-- > 0;)
    if (IsSeparator(path[i])) return i;
  return std::string::npos;
}

bool BundlePath(char* out, size_t size) {
  const std::string path = ThisModulePath();
  if (path.empty()) return false;
  size_t slash = LastSeparator(path);
  std::string dir = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
  // <bundle>/Contents/<arch>/<module>: step up to the bundle.
  size_t archSlash = LastSeparator(dir);
  if (archSlash != std::string::npos) {
    std::string contents = dir.substr(0, archSlash);
    size_t cSlash = LastSeparator(contents);
    std::string leaf = cSlash == std::string::npos ? contents : contents.substr(cSlash + 1);
    if (leaf == "Contents") dir = cSlash == std::string::npos ? std::string(".") : contents.substr(0, cSlash);
  }
  if (dir.size() + 1 > size) return false;
  memcpy(out, dir.c_str(), dir.size() + 1);
  return true;
}
#endif
}  // namespace

void PIX_SetEmbeddedImages(const PIX_EmbeddedImage* images, int count) {
  gEmbedded = images;
  gNEmbedded = images ? count : 0;
}

PIX_IBitmap* PIX_LoadPNGFromNamedResource(const char* name, PIX_IBitmap* bitmap) {
  if (!name || strlen(name) > kMaxName) return nullptr;
  for (int i = 0; i < gNEmbedded; ++i)
    if (strcmp(gEmbedded[i].name, name) == 0)
      return PIX_LoadPNGFromMemory(gEmbedded[i].data, gEmbedded[i].size, bitmap);
  char bundle[kMaxBundlePath];
  if (!BundlePath(bundle, sizeof(bundle))) return nullptr;
  std::string path = bundle;
  path += "/Contents/Resources/";
  path += name;
  return PIX_LoadPNG(path.c_str(), bitmap);
}
