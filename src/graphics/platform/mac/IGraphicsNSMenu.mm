// The native popup menu and its receiver; see IGraphicsNSMenu.h. Manual reference counting
// (built with -fno-objc-arc).
#import "graphics/platform/mac/IGraphicsNSMenu.h"

#import "graphics/platform/mac/CocoaStrings.h"

#include "graphics/IPopupMenu.h"
#include "graphics/platform/mac/CocoaMapping.h"

#include <string>

@implementation IGraphicsMenuRcvr

- (void)dealloc {
  [nsMenuItem release];
  [super dealloc];
}

- (void)OnMenuSelection:(NSMenuItem*)pItem {
  [pItem retain];
  [nsMenuItem release];
  nsMenuItem = pItem;
}

- (NSMenuItem*)MenuItem {
  return nsMenuItem;
}

@end

@implementation IGraphicsNSMenu

// Anonymous selector parts: the formatter would glue each to the name before it.
// clang-format off
- (id) initWithIPopupMenuAndReciever: (IPopupMenu*) pMenu : (NSView*) pView
// clang-format on
{
  self = [super initWithTitle:@""];
  if (!self) return nil;
  // Items are enabled or disabled by the model, not by responder validation.
  [self setAutoenablesItems:NO];
  mIPopupMenu = pMenu;

  const int n = pMenu ? pMenu->GetNItems() : 0;
  for (int i = 0; i < n; ++i) {
    IPopupMenuItem* item = pMenu->GetItem(i);
    const std::string title = CocoaMapping::MenuItemTitle(pMenu->GetPrefix(), i + 1, item->GetText());
    NSString* nsTitle = ToNSString(title.c_str());

    if (item->GetSubmenu()) {
      // A selector, not an object: no action.
      NSMenuItem* nsItem = [[NSMenuItem alloc] initWithTitle:nsTitle action:NULL keyEquivalent:@""];
      IGraphicsNSMenu* submenu = [[IGraphicsNSMenu alloc] initWithIPopupMenuAndReciever:item->GetSubmenu(
                                                                                            ):pView];
      [nsItem setSubmenu:submenu];
      [submenu release];
      [self addItem:nsItem];
      [nsItem release];
    } else if (item->GetIsSeparator()) {
      [self addItem:[NSMenuItem separatorItem]];
    } else {
      NSMenuItem* nsItem = [[NSMenuItem alloc] initWithTitle:nsTitle
                                                      action:@selector(OnMenuSelection:)
                                               keyEquivalent:@""];
      // The receiver is not in any window, so the action could not find it through the
      // responder chain.
      [nsItem setTarget:pView];
      if (item->GetIsTitle()) [nsItem setIndentationLevel:1];
      if (item->GetChecked()) [nsItem setState:NSControlStateValueOn];
      if (!item->GetEnabled()) [nsItem setEnabled:NO];
      [self addItem:nsItem];
      [nsItem release];
    }
  }
  return self;
}

- (IPopupMenu*)AssociatedIPopupMenu {
  return mIPopupMenu;
}

@end
