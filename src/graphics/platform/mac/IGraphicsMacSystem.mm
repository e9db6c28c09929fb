// IGraphicsMac's dealings with the system outside the editor view: bundle and user folders, web
// and file links, the clipboard, the mouse cursor, the system version and the bundle's images.
// Manual reference counting (built with -fno-objc-arc).
#import "graphics/platform/mac/IGraphicsMac.h"

#import <Cocoa/Cocoa.h>
#import <CoreServices/CoreServices.h>

#import "graphics/platform/mac/CocoaStrings.h"

#include "base/Trace.h"
#include "graphics/platform/mac/CocoaMapping.h"
#include "pix/PIX_PNG.h"

#include <string>

namespace {
NSBundle* PluginBundle(const char* bundleID) {
  return bundleID && *bundleID ? [NSBundle bundleWithIdentifier:ToNSString(bundleID)] : nil;
}

// The first folder the system search finds; the path stays as it was when there is none.
void SetFirstSearchResult(StrBuf* path, NSSearchPathDirectory directory, NSSearchPathDomainMask domain) {
  NSArray* found = NSSearchPathForDirectoriesInDomains(directory, domain, YES);
  if ([found count] == 0) return;
  path->Set([[found objectAtIndex:0] UTF8String]);
}
}  // namespace

void IGraphicsMac::HostPath(StrBuf* path) {
  if (!path) return;
  @autoreleasepool {
    NSString* executable = [PluginBundle(GetBundleID()) executablePath];
    if (executable) path->Set([executable UTF8String]);
  }
}

void IGraphicsMac::PluginPath(StrBuf* path) {
  if (!path) return;
  @autoreleasepool {
    NSString* bundlePath = [PluginBundle(GetBundleID()) bundlePath];
    if (!bundlePath) return;
    NSString* folder = [[bundlePath stringByDeletingLastPathComponent] stringByAppendingString:@"/"];
    path->Set([folder UTF8String]);
  }
}

void IGraphicsMac::DesktopPath(StrBuf* path) {
  if (!path) return;
  @autoreleasepool {
    SetFirstSearchResult(path, NSDesktopDirectory, NSUserDomainMask);
  }
}

void IGraphicsMac::AppSupportPath(StrBuf* path, bool isSystem) {
  if (!path) return;
  @autoreleasepool {
    SetFirstSearchResult(path, NSApplicationSupportDirectory,
                         isSystem ? NSSystemDomainMask : NSUserDomainMask);
  }
}

// A sandboxed host may write here without asking the user.
void IGraphicsMac::SandboxSafeAppSupportPath(StrBuf* path) {
  if (!path) return;
  @autoreleasepool {
    path->Set([[NSHomeDirectory() stringByAppendingString:@"/Music"] UTF8String]);
  }
}

bool IGraphicsMac::OpenURL(const char* url, const char*, const char*, const char*) {
  // A link that cannot become an address has not been opened: callers then try their fallback.
  if (!url || !*url) return false;
  @autoreleasepool {
    NSString* text = ToNSString(url);
    if (![text length]) return false;
    NSURL* address =
        CocoaMapping::IsWebAddress(url) ? [NSURL URLWithString:text] : [NSURL fileURLWithPath:text];
    if (!address) return false;
    return [[NSWorkspace sharedWorkspace] openURL:address] ? true : false;
  }
}

bool IGraphicsMac::GetTextFromClipboard(StrBuf* str) {
  if (!str) return false;
  @autoreleasepool {
    NSString* text = [[NSPasteboard generalPasteboard] stringForType:NSPasteboardTypeString];
    const char* utf8 = text ? [text UTF8String] : nullptr;
    if (!utf8) {
      str->Set("");
      return false;
    }
    str->Set(utf8);
    return true;
  }
}

void IGraphicsMac::HideMouseCursor() {
  if (mCursorHidden) return;
  if (CGDisplayHideCursor(CGMainDisplayID()) == kCGErrorSuccess) mCursorHidden = true;
  // Global display coordinates: origin at the top-left of the main display, as the warp expects.
  CGEventRef event = CGEventCreate(nullptr);
  if (event) {
    const CGPoint where = CGEventGetLocation(event);
    CFRelease(event);
    mHiddenMousePointX = static_cast<int>(where.x);
    mHiddenMousePointY = static_cast<int>(where.y);
  }
}

void IGraphicsMac::ShowMouseCursor() {
  if (!mCursorHidden) return;
  CGWarpMouseCursorPosition(CGPointMake(mHiddenMousePointX, mHiddenMousePointY));
  if (CGDisplayShowCursor(CGMainDisplayID()) == kCGErrorSuccess) mCursorHidden = false;
}

int GetSystemVersion() {
  SInt32 version = 0;
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
  const OSErr err = Gestalt(gestaltSystemVersion, &version);
#pragma clang diagnostic pop
  return err == noErr ? static_cast<int>(version) : 0;
}

int IGraphicsMac::GetUserOSVersion() {
  const int version = GetSystemVersion();
  Trace("GetUserOSVersion", __LINE__, "%x", static_cast<unsigned>(version));
  return version;
}

PIX_IBitmap* LoadImgFromResourceOSX(const char* bundleID, const char* fileName) {
  if (!CocoaMapping::IsPNGName(fileName)) return nullptr;
  @autoreleasepool {
    NSBundle* bundle = PluginBundle(bundleID);
    if (!bundle) return nullptr;
    const std::string name = CocoaMapping::ResourceBaseName(fileName);
    NSString* path = [bundle pathForResource:ToNSString(name.c_str()) ofType:@"png"];
    if (![path length]) return nullptr;
    return PIX_LoadPNG([path fileSystemRepresentation]);
  }
}
