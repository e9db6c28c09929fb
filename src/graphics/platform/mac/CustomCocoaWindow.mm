// The editor's borderless child window; see CustomCocoaWindow.h. Built with -fno-objc-arc.
#import "graphics/platform/mac/CustomCocoaWindow.h"

@implementation CustomCocoaWindow

// Borderless windows refuse key status by default, which would leave text entries deaf.
- (BOOL)canBecomeKeyWindow {
  return YES;
}

@end
