// The editor's Cocoa view: runs the redraw timer, draws the engine's back buffer when Cocoa asks,
// turns mouse, wheel and key events into engine calls, and hosts the text field, popup menus and
// tooltips. Objective-C++ only; built with manual reference counting (no ARC).
//
// Objective-C classes share one namespace across the host process, so every class carries the
// product suffix: two plug-ins built from this code never resolve to each other's classes.
#pragma once

#import <Cocoa/Cocoa.h>

#include "graphics/platform/mac/CocoaClassNames.h"

#include "graphics/IRECT.h"
#include "graphics/platform/mac/IGraphicsMac.h"

class IControl;
class IParam;
class IPopupMenu;
struct IText;

// Conversions between editor rectangles and the view's bottom-left-origin rectangles.
NSRect ToNSRect(IGraphics* pGraphics, const IRECT* pRect);
IRECT ToIRECT(IGraphics* pGraphics, const NSRect* pRect);

@interface IGraphicsCocoa : NSView <NSTextFieldDelegate> {
  IGraphicsMac* mGraphics;  // not owned; null once detached
  NSTimer* mTimer;          // owned by the run loop until invalidated
  int mPrevX, mPrevY;       // last mouse position in editor coordinates, for key presses
  NSTextField* mTextFieldView;
  IParam* mEdParam;
  IControl* mEdControl;
}
- (id)init;
- (id)initWithIGraphics:(IGraphicsMac*)pGraphics;
- (BOOL)isOpaque;
- (BOOL)acceptsFirstResponder;
- (BOOL)acceptsFirstMouse:(NSEvent*)pEvent;
- (void)viewDidMoveToWindow;
- (void)viewDidChangeBackingProperties;
// Takes the view's pixels per point into the engine and redraws when it changed.
- (void)updateBackingScale;
- (void)drawRect:(NSRect)rect;
- (void)onTimer:(NSTimer*)pTimer;
- (void)getMouseXY:(NSEvent*)pEvent x:(int*)pX y:(int*)pY;
- (void)mouseDown:(NSEvent*)pEvent;
- (void)mouseUp:(NSEvent*)pEvent;
- (void)mouseDragged:(NSEvent*)pEvent;
- (void)rightMouseDown:(NSEvent*)pEvent;
- (void)rightMouseUp:(NSEvent*)pEvent;
- (void)rightMouseDragged:(NSEvent*)pEvent;
- (void)mouseMoved:(NSEvent*)pEvent;
- (void)keyDown:(NSEvent*)pEvent;
- (void)scrollWheel:(NSEvent*)pEvent;
- (void)killTimer;
// Forgets the engine without telling it; true when pGraphics was the attached engine.
- (BOOL)detachGraphics:(IGraphicsMac*)pGraphics;
- (void)removeFromSuperview;
- (void)controlTextDidEndEditing:(NSNotification*)aNotification;
// Anonymous selector parts: the formatter would glue each to the name before it.
// clang-format off
- (IPopupMenu*) createIPopupMenu: (IPopupMenu*) pMenu : (NSRect) rect;
// clang-format on
// clang-format off
- (void) createTextEntry: (IControl*) pControl : (IParam*) pParam : (IText*) pText : (const char*) pString : (NSRect) areaRect;
// clang-format on
// Closes the text field without applying its text.
- (void)endUserInput;
- (NSString*)view:(NSView*)pView
    stringForToolTip:(NSToolTipTag)tag
               point:(NSPoint)point
            userData:(void*)pData;
- (void)registerToolTip:(IRECT*)pRECT;
@end
