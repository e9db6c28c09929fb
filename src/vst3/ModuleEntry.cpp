// The module's load and unload entry points. Each reference the host hands in is retained until
// the matching number of exits has arrived; the plug-in's module hooks run on every call.
#include "vst3/ModuleRefs.h"
#include "vst3/PluginModule.h"

// On Windows the module definition file (bundle/exports.def) names what leaves the DLL.
#define QV_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

// A plug-in without module hooks of its own loads and unloads unconditionally; its own
// definitions replace these.
__attribute__((weak)) bool InitModule() { return true; }
__attribute__((weak)) bool DeinitModule() { return true; }

namespace {
// The hooks are the plug-in's code; a failure in them must not unwind into the host's loader.
bool CallHook(bool (*hook)()) {
  try {
    return hook();
  } catch (...) {
    return false;
  }
}
}  // namespace

#if defined(__APPLE__)
#include <CoreFoundation/CoreFoundation.h>

namespace {
void RetainBundle(void* ref) { CFRetain(ref); }
void ReleaseBundle(void* ref) { CFRelease(ref); }
ModuleRefs gBundleRefs(RetainBundle, ReleaseBundle);
}  // namespace

QV_MODULE_EXPORT bool bundleEntry(CFBundleRef bundle) {
  if (!gBundleRefs.Enter(bundle)) return false;
  return CallHook(InitModule);
}

QV_MODULE_EXPORT bool bundleExit() {
  if (!CallHook(DeinitModule)) return false;
  return gBundleRefs.Exit();
}

#elif defined(_WIN32)

namespace {
// Windows hosts pass nothing: each call is counted under a reference of our own.
ModuleRefs gModuleRefs(nullptr, nullptr);
char gDllToken;
}  // namespace

QV_MODULE_EXPORT bool InitDll() {
  if (!gModuleRefs.Enter(&gDllToken)) return false;
  return CallHook(InitModule);
}

QV_MODULE_EXPORT bool ExitDll() {
  if (!CallHook(DeinitModule)) return false;
  return gModuleRefs.Exit();
}

#else

namespace {
// A library handle needs no retaining: the host keeps the library open until after the exit.
ModuleRefs gModuleRefs(nullptr, nullptr);
}  // namespace

QV_MODULE_EXPORT bool ModuleEntry(void* sharedLibraryHandle) {
  if (!gModuleRefs.Enter(sharedLibraryHandle)) return false;
  return CallHook(InitModule);
}

QV_MODULE_EXPORT bool ModuleExit() {
  if (!CallHook(DeinitModule)) return false;
  return gModuleRefs.Exit();
}

#endif
