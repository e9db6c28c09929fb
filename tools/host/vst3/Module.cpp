// Loading a VST 3 module the way a DAW does.
#include "host/vst3/Module.h"

#if !defined(_WIN32)
#include <sys/utsname.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/Utf8Path.h"
#include "host/effect/PathInfo.h"
#include "host/effect/SharedLibrary.h"
#include "host/vst3/Utf8Text.h"
#include "vst3/abi/ResultCodes.h"

#if defined(__APPLE__)
#include <CoreFoundation/CoreFoundation.h>
#endif

using namespace vst3abi;

namespace qvhost {

namespace {

// Bounded copy of a fixed 8-bit field that may lack its terminator.
std::string fixedString(const char* field, size_t size) {
  size_t n = 0;
  while (n < size && field[n] != 0) ++n;
  return std::string(field, n);
}

bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

#if defined(_WIN32)
// A DLL starts with the "MZ" of its DOS header.
bool hasLibraryMagic(const std::string& p) {
  FILE* f = OpenUtf8File(p.c_str(), "rb");
  if (!f) return false;
  unsigned char magic[2] = {};
  const bool ok = std::fread(magic, 1, 2, f) == 2 && magic[0] == 'M' && magic[1] == 'Z';
  std::fclose(f);
  return ok;
}

// The bundle's folder for this system's modules.
std::string moduleFolder() { return "x86_64-win"; }
const char* const kModuleSuffix = ".vst3";
#elif !defined(__APPLE__)
bool hasLibraryMagic(const std::string& p) {
  FILE* f = OpenUtf8File(p.c_str(), "rb");
  if (!f) return false;
  unsigned char magic[4] = {};
  const bool ok = std::fread(magic, 1, 4, f) == 4 && magic[0] == 0x7F && magic[1] == 'E' && magic[2] == 'L' &&
                  magic[3] == 'F';
  std::fclose(f);
  return ok;
}

std::string moduleFolder() {
  struct utsname u {};
  if (::uname(&u) == 0 && u.machine[0]) return std::string(u.machine) + "-linux";
  return "x86_64-linux";
}
const char* const kModuleSuffix = ".so";
#endif

}  // namespace

std::string uidText(const char* uid16) {
  static const char* hex = "0123456789ABCDEF";
#if defined(_WIN32)
  // Windows identifiers are GUIDs in memory: the first three fields little-endian, printed as numbers.
  static const int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
#else
  static const int kOrder[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
#endif
  std::string out;
  for (int i = 0; i < 16; ++i) {
    const auto b = static_cast<unsigned char>(uid16[kOrder[i]]);
    out.push_back(hex[b >> 4]);
    out.push_back(hex[b & 15]);
  }
  return out;
}

std::string resolveModulePath(const std::string& rawPath, std::string* error) {
  std::string path = rawPath;
  while (path.size() > 1 && isPathSeparator(path.back())) path.pop_back();
  if (path.empty() || (!isDirectory(path) && !isRegularFile(path))) {
    if (error) *error = "'" + rawPath + "' does not exist";
    return {};
  }
  if (isDirectory(path)) {
    if (!endsWith(path, ".vst3")) {
      if (error)
        *error = "'" + rawPath + "' is not a VST 3 bundle (expected a NAME.vst3 folder or a module file)";
      return {};
    }
    size_t slash = path.size();
    while (slash > 0 && !isPathSeparator(path[slash - 1])) --slash;
    slash = slash == 0 ? std::string::npos : slash - 1;
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string stem = file.substr(0, file.size() - 5);
#if defined(__APPLE__)
    const std::string library = path + "/Contents/MacOS/" + stem;
    const std::string where = "Contents/MacOS/" + stem;
#else
    const std::string where = "Contents/" + moduleFolder() + "/" + stem + kModuleSuffix;
#if defined(_WIN32)
    std::string library = path + "\\" + where;
    std::replace(library.begin(), library.end(), '/', '\\');
#else
    const std::string library = path + "/" + where;
#endif
#endif
    if (!isRegularFile(library)) {
      if (error) *error = "'" + rawPath + "' is not a VST 3 bundle: " + where + " not found";
      return {};
    }
    return library;
  }
#if defined(__APPLE__)
  // A macOS module is only loadable through its bundle.
  const bool loadable = false;
#else
  const bool loadable = isRegularFile(path) && hasLibraryMagic(path);
#endif
  if (!loadable) {
    if (error) *error = "'" + rawPath + "' is not a VST 3 bundle or shared library";
    return {};
  }
  return path;
}

#if defined(__APPLE__)

namespace {
CFBundleRef openBundle(const std::string& libraryPath, std::string* error) {
  // The bundle is three levels above Contents/MacOS/NAME.
  std::string bundlePath = libraryPath;
  for (int i = 0; i < 3; ++i) {
    const size_t slash = bundlePath.find_last_of('/');
    if (slash == std::string::npos) break;
    bundlePath.resize(slash);
  }
  CFURLRef url = CFURLCreateFromFileSystemRepresentation(kCFAllocatorDefault,
                                                         reinterpret_cast<const UInt8*>(bundlePath.c_str()),
                                                         static_cast<CFIndex>(bundlePath.size()), true);
  if (!url) {
    if (error) *error = "cannot form a URL for '" + bundlePath + "'";
    return nullptr;
  }
  CFBundleRef bundle = CFBundleCreate(kCFAllocatorDefault, url);
  CFRelease(url);
  if (!bundle) {
    if (error) *error = "'" + bundlePath + "' is not a loadable bundle";
    return nullptr;
  }
  CFErrorRef cfError = nullptr;
  if (!CFBundleLoadExecutableAndReturnError(bundle, &cfError)) {
    if (cfError) CFRelease(cfError);
    CFRelease(bundle);
    if (error) *error = "the module '" + bundlePath + "' failed to load";
    return nullptr;
  }
  return bundle;
}
}  // namespace

bool Module::open(const std::string& path, std::string* error) {
  mLibraryPath = resolveModulePath(path, error);
  if (mLibraryPath.empty()) return false;
  CFBundleRef bundle = openBundle(mLibraryPath, error);
  if (!bundle) return false;
  mHandle = bundle;
  auto entry =
      reinterpret_cast<BundleEntryProc>(CFBundleGetFunctionPointerForName(bundle, CFSTR("bundleEntry")));
  mExit = reinterpret_cast<BundleExitProc>(CFBundleGetFunctionPointerForName(bundle, CFSTR("bundleExit")));
  auto getFactory =
      reinterpret_cast<GetFactoryProc>(CFBundleGetFunctionPointerForName(bundle, CFSTR("GetPluginFactory")));
  if (!getFactory) {
    if (error) *error = "'" + mLibraryPath + "' is not a VST 3 module: it does not export GetPluginFactory";
    return false;
  }
  if (entry && !entry(bundle)) {
    mExit = nullptr;
    if (error)
      *error = "the module '" + mLibraryPath + "' refused to initialise (bundleEntry returned false)";
    return false;
  }
  mFactory = Ref<IPluginFactory>::adopt(getFactory());
  return true;
}

Module::~Module() {
  mFactory.reset();
  if (mExit) mExit();
  if (mHandle) CFRelease(static_cast<CFBundleRef>(mHandle));
}

#else

bool Module::open(const std::string& path, std::string* error) {
  mLibraryPath = resolveModulePath(path, error);
  if (mLibraryPath.empty()) return false;
  std::string why;
  mHandle = openLibrary(mLibraryPath, &why);
  if (!mHandle) {
    if (error) *error = "the module '" + mLibraryPath + "' failed to load: " + why;
    return false;
  }
  auto getFactory = reinterpret_cast<GetFactoryProc>(librarySymbol(mHandle, kGetFactoryProcName));
#if defined(_WIN32)
  // Windows modules are entered without arguments (InitDll / ExitDll).
  auto init = reinterpret_cast<InitDllProc>(librarySymbol(mHandle, kInitDllProcName));
  auto exitProc = reinterpret_cast<ExitDllProc>(librarySymbol(mHandle, kExitDllProcName));
  if (!getFactory) {
    if (error) *error = "'" + mLibraryPath + "' is not a VST 3 module: it does not export GetPluginFactory";
    return false;
  }
  if (init && !init()) {
    if (error) *error = "the module '" + mLibraryPath + "' refused to initialise (InitDll returned false)";
    return false;
  }
  mExit = init ? exitProc : nullptr;
  mFactory = Ref<IPluginFactory>::adopt(getFactory());
  return true;
}
#else
  auto entry = reinterpret_cast<ModuleEntryProc>(librarySymbol(mHandle, kModuleEntryProcName));
  auto exitProc = reinterpret_cast<ModuleExitProc>(librarySymbol(mHandle, kModuleExitProcName));
  if (!getFactory) {
    if (error) *error = "'" + mLibraryPath + "' is not a VST 3 module: it does not export GetPluginFactory";
    return false;
  }
  // Modules from before the entry points were required still work; a DAW would load them too.
  if (!entry || !exitProc) {
    std::fprintf(stderr, "warning: '%s' does not export ModuleEntry/ModuleExit\n", mLibraryPath.c_str());
  }
  if (entry && !entry(mHandle)) {
    if (error)
      *error = "the module '" + mLibraryPath + "' refused to initialise (ModuleEntry returned false)";
    return false;
  }
  mExit = entry ? exitProc : nullptr;
  mFactory = Ref<IPluginFactory>::adopt(getFactory());
  return true;
}
#endif

Module::~Module() {
  mClasses.clear();
  mFactory.reset();
  if (mExit) mExit();
  closeLibrary(mHandle);
}

#endif

std::unique_ptr<Module> Module::load(const std::string& given, std::string* error) {
  // A plug-in finds its resources from its own module's path, which must not depend on our
  // working directory; the loader also searches its library path for names without a folder.
  const std::string path = absolutePath(given);
  std::unique_ptr<Module> m(new Module);
  if (!m->open(path, error)) return nullptr;
  if (!m->mFactory) {
    if (error) *error = "the module '" + m->mLibraryPath + "' returned no class factory";
    return nullptr;
  }
  m->mContext = Ref<HostContext>::adopt(new HostContext);
  if (auto f3 = m->mFactory.query<IPluginFactory3>()) {
    f3->setHostContext(static_cast<IHostApplication*>(m->mContext.get()));
  }
  m->readClasses();
  return m;
}

void Module::readClasses() {
  PFactoryInfo fi{};
  if (mFactory->getFactoryInfo(&fi) == kResultOk) {
    mFactoryInfo.vendor = fixedString(fi.vendor, sizeof fi.vendor);
    mFactoryInfo.url = fixedString(fi.url, sizeof fi.url);
    mFactoryInfo.email = fixedString(fi.email, sizeof fi.email);
    mFactoryInfo.flags = fi.flags;
  }
  auto f2 = mFactory.query<IPluginFactory2>();
  auto f3 = mFactory.query<IPluginFactory3>();
  // A corrupt count must not make us loop for ever.
  const int32 count = std::min<int32>(mFactory->countClasses(), 4096);
  for (int32 i = 0; i < count; ++i) {
    ClassInfo c;
    c.index = i;
    PClassInfoW w{};
    PClassInfo2 i2{};
    PClassInfo i1{};
    if (f3 && f3->getClassInfoUnicode(i, &w) == kResultOk) {
      std::memcpy(c.cid.data(), w.cid, 16);
      c.cardinality = w.cardinality;
      c.category = fixedString(w.category, sizeof w.category);
      c.name = toUtf8(w.name, PClassInfo::kNameSize);
      c.classFlags = w.classFlags;
      c.subCategories = fixedString(w.subCategories, sizeof w.subCategories);
      c.vendor = toUtf8(w.vendor, PClassInfo2::kVendorSize);
      c.version = toUtf8(w.version, PClassInfo2::kVersionSize);
      c.sdkVersion = toUtf8(w.sdkVersion, PClassInfo2::kVersionSize);
    } else if (f2 && f2->getClassInfo2(i, &i2) == kResultOk) {
      std::memcpy(c.cid.data(), i2.cid, 16);
      c.cardinality = i2.cardinality;
      c.category = fixedString(i2.category, sizeof i2.category);
      c.name = fixedString(i2.name, sizeof i2.name);
      c.classFlags = i2.classFlags;
      c.subCategories = fixedString(i2.subCategories, sizeof i2.subCategories);
      c.vendor = fixedString(i2.vendor, sizeof i2.vendor);
      c.version = fixedString(i2.version, sizeof i2.version);
      c.sdkVersion = fixedString(i2.sdkVersion, sizeof i2.sdkVersion);
    } else if (mFactory->getClassInfo(i, &i1) == kResultOk) {
      std::memcpy(c.cid.data(), i1.cid, 16);
      c.cardinality = i1.cardinality;
      c.category = fixedString(i1.category, sizeof i1.category);
      c.name = fixedString(i1.name, sizeof i1.name);
    } else {
      continue;
    }
    if (c.vendor.empty()) c.vendor = mFactoryInfo.vendor;
    mClasses.push_back(std::move(c));
  }
}

const ClassInfo* Module::findAudioEffect(const std::string& name) const {
  for (const ClassInfo& c : mClasses) {
    if (c.category == kAudioEffectClass && (name.empty() || c.name == name)) return &c;
  }
  return nullptr;
}

}  // namespace qvhost
