// The native popup menu built from an IPopupMenu, and the invisible view that receives the
// user's choice. Objective-C++ only; manual reference counting.
#pragma once

#import <Cocoa/Cocoa.h>

#include "graphics/platform/mac/CocoaClassNames.h"

class IPopupMenu;

// Receives OnMenuSelection: from every item of a menu tree and keeps the chosen item.
@interface IGraphicsMenuRcvr : NSView {
  NSMenuItem* nsMenuItem;  // retained
}
- (void)OnMenuSelection:(NSMenuItem*)pItem;
// The chosen item, or nil when the menu was dismissed.
- (NSMenuItem*)MenuItem;
@end

@interface IGraphicsNSMenu : NSMenu {
  IPopupMenu* mIPopupMenu;  // not owned
}
// Builds the whole tree (submenus too), every item sending its action to pView.
// Anonymous selector parts: the formatter would glue each to the name before it.
// clang-format off
- (id) initWithIPopupMenuAndReciever: (IPopupMenu*) pMenu : (NSView*) pView;
// clang-format on
- (IPopupMenu*)AssociatedIPopupMenu;
@end
