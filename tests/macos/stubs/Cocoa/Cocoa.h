// The Cocoa umbrella for the macOS syntax check: GNUstep's Foundation and AppKit, then what Apple's
// AppKit brings along (Application Services) and the few newer AppKit names GNUstep lacks, each
// declared as Apple documents it. Never shipped.
#pragma once

#include_next <Cocoa/Cocoa.h>

#include <ApplicationServices/ApplicationServices.h>

// Newer AppKit names (macOS 10.12) for what GNUstep still calls by the older ones.
static const NSEventType NSEventTypeApplicationDefined = NSApplicationDefined;

APPKIT_EXPORT BOOL NSApplicationLoad(void);

// Backing-store geometry (macOS 10.7), which GNUstep's NSView does not declare.
@interface NSView (QVBackingGeometry)
- (NSRect)convertRectToBacking:(NSRect)rect;
- (void)viewDidChangeBackingProperties;
@end
