// The borderless child window that carries the editor for hosts that hand over a window rather
// than a view. Objective-C++ only; manual reference counting.
#pragma once

#import <Cocoa/Cocoa.h>

#include "graphics/platform/mac/CocoaClassNames.h"

@interface CustomCocoaWindow : NSWindow
@end
