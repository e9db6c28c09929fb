// IGraphicsMac's modal prompts: the message box and the open and save panels. Manual reference
// counting (built with -fno-objc-arc).
#import "graphics/platform/mac/IGraphicsMac.h"

#import <Cocoa/Cocoa.h>
#import <CoreFoundation/CoreFoundation.h>

#import "graphics/platform/mac/CocoaStrings.h"

#include "graphics/platform/mac/CocoaMapping.h"

#include <string>
#include <vector>

namespace {
// Alert texts are read as Mac Roman, which maps every byte, so any text can be shown. Null when
// there is no text to show.
CFStringRef CreateAlertString(const char* text) {
  return text ? CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingMacRoman) : nullptr;
}

void ReleaseIfSet(CFStringRef str) {
  if (str) CFRelease(str);
}

CocoaMapping::EAlertResponse ToAlertResponse(CFOptionFlags responseFlags) {
  switch (responseFlags & 0x3) {
    case kCFUserNotificationDefaultResponse:
      return CocoaMapping::kResponseDefault;
    case kCFUserNotificationAlternateResponse:
      return CocoaMapping::kResponseAlternate;
    case kCFUserNotificationOtherResponse:
      return CocoaMapping::kResponseOther;
    default:
      return CocoaMapping::kResponseNone;
  }
}
}  // namespace

int IGraphicsMac::ShowMessageBox(const char* text, const char* caption, int type) {
  const CocoaMapping::AlertButtons buttons = CocoaMapping::AlertButtonsForType(type);
  CFStringRef header = CreateAlertString(caption ? caption : "");
  CFStringRef message = CreateAlertString(text ? text : "");
  CFStringRef defaultButton = CreateAlertString(buttons.defaultTitle);
  CFStringRef alternateButton = CreateAlertString(buttons.alternateTitle);
  CFStringRef otherButton = CreateAlertString(buttons.otherTitle);

  CFOptionFlags responseFlags = 0;
  const SInt32 err = CFUserNotificationDisplayAlert(0.0, kCFUserNotificationNoteAlertLevel, nullptr, nullptr,
                                                    nullptr, header, message, defaultButton, alternateButton,
                                                    otherButton, &responseFlags);
  ReleaseIfSet(header);
  ReleaseIfSet(message);
  ReleaseIfSet(defaultButton);
  ReleaseIfSet(alternateButton);
  ReleaseIfSet(otherButton);

  const CocoaMapping::EAlertResponse response =
      err == 0 ? ToAlertResponse(responseFlags) : CocoaMapping::kResponseNone;
  return CocoaMapping::MessageBoxResult(response);
}

void IGraphicsMac::PromptForFile(StrBuf* fileName, EFileAction action, StrBuf* dir, const char* extensions) {
  if (!fileName) return;
  if (!WindowIsOpen()) {
    fileName->Set("");
    return;
  }

  @autoreleasepool {
    const std::string initialFile = fileName->Get();
    const std::string startDir = CocoaMapping::FilePromptStartDir(dir ? dir->Get() : nullptr);
    if (dir && !*dir->Get()) dir->Set(startDir.c_str());
    fileName->Set("");

    // No extensions means any file: an empty list would allow none.
    NSMutableArray* fileTypes = nil;
    const std::vector<std::string> exts = CocoaMapping::SplitExtensions(extensions);
    if (!exts.empty()) {
      fileTypes = [NSMutableArray arrayWithCapacity:exts.size()];
      for (const std::string& ext : exts) [fileTypes addObject:ToNSString(ext.c_str())];
    }

    NSSavePanel* panel = nil;
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
    if (action == kFileSave) {
      panel = [NSSavePanel savePanel];
      [panel setAllowedFileTypes:fileTypes];
      [panel setAllowsOtherFileTypes:NO];
    } else {
      NSOpenPanel* openPanel = [NSOpenPanel openPanel];
      [openPanel setCanChooseFiles:YES];
      [openPanel setCanChooseDirectories:NO];
      [openPanel setResolvesAliases:YES];
      [openPanel setAllowedFileTypes:fileTypes];
      panel = openPanel;
    }
#pragma clang diagnostic pop

    NSString* startPath = [ToNSString(startDir.c_str()) stringByExpandingTildeInPath];
    [panel setDirectoryURL:[NSURL fileURLWithPath:startPath isDirectory:YES]];
    [panel setNameFieldStringValue:ToNSString(initialFile.c_str())];

    if ([panel runModal] != NSModalResponseOK) return;
    const char* path = [[[panel URL] path] UTF8String];
    if (!path || !*path) return;
    fileName->Set(path);
    if (dir) dir->Set(CocoaMapping::FolderOfPath(path).c_str());
  }
}
