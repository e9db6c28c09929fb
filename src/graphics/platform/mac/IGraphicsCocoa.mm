// The editor's Cocoa view; see IGraphicsCocoa.h. Manual reference counting (built with
// -fno-objc-arc).
#import "graphics/platform/mac/IGraphicsCocoa.h"

#import "graphics/platform/mac/CocoaFormatter.h"
#import "graphics/platform/mac/CocoaStrings.h"
#import "graphics/platform/mac/IGraphicsNSMenu.h"

#include "framework/IParam.h"
#include "graphics/IControl.h"
#include "graphics/IPopupMenu.h"
#include "graphics/IText.h"
#include "graphics/platform/mac/CocoaMapping.h"

NSRect ToNSRect(IGraphics* pGraphics, const IRECT* pRect) {
  // Layout units to the view's points (the editor's scale), then to Cocoa's bottom-left origin.
  const CocoaMapping::Rect r =
      CocoaMapping::ToCocoaRect(pGraphics->LayoutToWindow(*pRect), pGraphics->WindowHeight());
  return NSMakeRect(r.x, r.y, r.w, r.h);
}

IRECT ToIRECT(IGraphics* pGraphics, const NSRect* pRect) {
  CocoaMapping::Rect r;
  r.x = pRect->origin.x;
  r.y = pRect->origin.y;
  r.w = pRect->size.width;
  r.h = pRect->size.height;
  return pGraphics->WindowToLayout(CocoaMapping::ToIRECT(r, pGraphics->WindowHeight()));
}

static IMouseMod GetMouseMod(NSEvent* pEvent, CocoaMapping::EMouseButton button) {
  return CocoaMapping::MouseModFromFlags(static_cast<unsigned long long>([pEvent modifierFlags]), button);
}

static NSColor* ToNSColor(const IColor& c) {
  return [NSColor colorWithCalibratedRed:c.R / 255.0 green:c.G / 255.0 blue:c.B / 255.0 alpha:c.A / 255.0];
}

@implementation IGraphicsCocoa

- (id)init {
  self = [super init];
  if (self) {
    mGraphics = nullptr;
    mTimer = nil;
    mPrevX = mPrevY = 0;
    mTextFieldView = nil;
    mEdParam = nullptr;
    mEdControl = nullptr;
  }
  return self;
}

- (id)initWithIGraphics:(IGraphicsMac*)pGraphics {
  self = [super initWithFrame:NSMakeRect(0.0, 0.0, pGraphics->WindowWidth(), pGraphics->WindowHeight())];
  if (!self) return nil;
  mGraphics = pGraphics;
  const int fps = pGraphics->FPS() > 0 ? pGraphics->FPS() : IGraphics::kDefaultFPS;
  mTimer = [NSTimer timerWithTimeInterval:1.0 / fps
                                   target:self
                                 selector:@selector(onTimer:)
                                 userInfo:nil
                                  repeats:YES];
  // Common modes keep the editor animating while a menu tracks or the host window resizes.
  [[NSRunLoop currentRunLoop] addTimer:mTimer forMode:NSRunLoopCommonModes];
  return self;
}

- (void)dealloc {
  [self killTimer];
  if (mTextFieldView) {
    [mTextFieldView setDelegate:nil];
    [mTextFieldView release];
    mTextFieldView = nil;
  }
  [super dealloc];
}

- (BOOL)isOpaque {
  return mGraphics ? YES : NO;
}

- (BOOL)acceptsFirstResponder {
  return YES;
}

// The click that activates the host window also reaches the control under it.
- (BOOL)acceptsFirstMouse:(NSEvent*)pEvent {
  return YES;
}

- (void)viewDidMoveToWindow {
  [super viewDidMoveToWindow];
  NSWindow* window = [self window];
  if (window) {
    [window makeFirstResponder:self];
    [window setAcceptsMouseMovedEvents:YES];
  }
  [self updateBackingScale];
}

// The window moved to a screen of another backing scale (or the view into another window).
- (void)viewDidChangeBackingProperties {
  [super viewDidChangeBackingProperties];
  [self updateBackingScale];
}

- (void)updateBackingScale {
  if (!mGraphics || ![self window]) return;
  // Pixels per point of this view: 2 on Retina screens. The back buffer is drawn at that density.
  const NSRect unit = [self convertRectToBacking:NSMakeRect(0.0, 0.0, 1.0, 1.0)];
  const double backing = unit.size.width > 0.0 ? unit.size.width : [[self window] backingScaleFactor];
  if (backing == mGraphics->GetBackingScale()) return;
  mGraphics->SetBackingScale(backing);
  [self setNeedsDisplay:YES];
}

- (void)drawRect:(NSRect)rect {
  if (!mGraphics) return;
  IRECT r = ToIRECT(mGraphics, &rect);
  mGraphics->Draw(&r);
}

- (void)onTimer:(NSTimer*)pTimer {
  if (pTimer != mTimer || !mGraphics) return;
  IRECT r;
  if (mGraphics->IsDirty(&r)) [self setNeedsDisplayInRect:ToNSRect(mGraphics, &r)];
}

- (void)getMouseXY:(NSEvent*)pEvent x:(int*)pX y:(int*)pY {
  const NSPoint pt = [self convertPoint:[pEvent locationInWindow] fromView:nil];
  const int height = mGraphics ? mGraphics->WindowHeight() : static_cast<int>([self bounds].size.height);
  CocoaMapping::ToEditorPoint(pt.x, pt.y, height, pX, pY);
  // Points to layout units: controls keep their 1x layout at every size.
  if (mGraphics) {
    *pX = mGraphics->ToLayout(*pX);
    *pY = mGraphics->ToLayout(*pY);
  }
  mPrevX = *pX;
  mPrevY = *pY;
}

- (void)mouseDown:(NSEvent*)pEvent {
  if (!mGraphics) return;
  int x, y;
  [self getMouseXY:pEvent x:&x y:&y];
  IMouseMod ms = GetMouseMod(pEvent, CocoaMapping::kButtonLeft);
  if ([pEvent clickCount] > 1)
    mGraphics->OnMouseDblClick(x, y, &ms);
  else
    mGraphics->OnMouseDown(x, y, &ms);
}

- (void)mouseUp:(NSEvent*)pEvent {
  if (!mGraphics) return;
  int x, y;
  [self getMouseXY:pEvent x:&x y:&y];
  IMouseMod ms = GetMouseMod(pEvent, CocoaMapping::kButtonLeft);
  mGraphics->OnMouseUp(x, y, &ms);
}

- (void)mouseDragged:(NSEvent*)pEvent {
  if (!mGraphics || mTextFieldView) return;
  int x, y;
  [self getMouseXY:pEvent x:&x y:&y];
  IMouseMod ms = GetMouseMod(pEvent, CocoaMapping::kButtonLeft);
  mGraphics->OnMouseDrag(x, y, &ms);
}

// A double right click arrives as a second press: the engine has no right double click.
- (void)rightMouseDown:(NSEvent*)pEvent {
  if (!mGraphics) return;
  int x, y;
  [self getMouseXY:pEvent x:&x y:&y];
  IMouseMod ms = GetMouseMod(pEvent, CocoaMapping::kButtonRight);
  mGraphics->OnMouseDown(x, y, &ms);
}

- (void)rightMouseUp:(NSEvent*)pEvent {
  if (!mGraphics) return;
  int x, y;
  [self getMouseXY:pEvent x:&x y:&y];
  IMouseMod ms = GetMouseMod(pEvent, CocoaMapping::kButtonRight);
  mGraphics->OnMouseUp(x, y, &ms);
}

- (void)rightMouseDragged:(NSEvent*)pEvent {
  if (!mGraphics || mTextFieldView) return;
  int x, y;
  [self getMouseXY:pEvent x:&x y:&y];
  IMouseMod ms = GetMouseMod(pEvent, CocoaMapping::kButtonRight);
  mGraphics->OnMouseDrag(x, y, &ms);
}

- (void)mouseMoved:(NSEvent*)pEvent {
  if (!mGraphics) return;
  int x, y;
  [self getMouseXY:pEvent x:&x y:&y];
  IMouseMod ms = GetMouseMod(pEvent, CocoaMapping::kButtonNone);
  mGraphics->OnMouseOver(x, y, &ms);
}

- (void)keyDown:(NSEvent*)pEvent {
  NSString* chars = [pEvent charactersIgnoringModifiers];
  if ([chars length] != 1) return;  // dead keys and composed input are not keys to the engine
  const int key = CocoaMapping::KeyCodeFor([pEvent keyCode], [chars characterAtIndex:0]);
  if (key == CocoaMapping::kNoKey || !mGraphics || !mGraphics->OnKeyDown(mPrevX, mPrevY, key))
    [[self nextResponder] keyDown:pEvent];
}

- (void)scrollWheel:(NSEvent*)pEvent {
  [self endUserInput];
  if (!mGraphics) return;
  int x, y;
  [self getMouseXY:pEvent x:&x y:&y];
  IMouseMod ms = GetMouseMod(pEvent, CocoaMapping::kButtonNone);
  const int d = static_cast<int>([pEvent deltaY]);  // truncated: fractional trackpad steps do nothing
  mGraphics->OnMouseWheel(x, y, &ms, d);
}

- (void)killTimer {
  [mTimer invalidate];
  mTimer = nil;
}

- (BOOL)detachGraphics:(IGraphicsMac*)pGraphics {
  if (!mGraphics || mGraphics != pGraphics) return NO;
  mGraphics = nullptr;
  return YES;
}

// The host may remove the view itself; the engine then closes its side. Whichever side starts,
// the other finds itself already detached, so neither calls back into the first.
- (void)removeFromSuperview {
  [[self retain] autorelease];  // the engine drops its reference below while this still runs
  [self endUserInput];
  IGraphicsMac* graphics = mGraphics;
  if (graphics) {
    mGraphics = nullptr;
    graphics->CloseWindow();
  }
  [super removeFromSuperview];
}

- (void)controlTextDidEndEditing:(NSNotification*)aNotification {
  if (!mTextFieldView || [aNotification object] != mTextFieldView) return;
  const char* txt = [[mTextFieldView stringValue] UTF8String];
  if (!txt) txt = "";
  if (mGraphics && mEdControl) {
    if (mEdParam)
      mGraphics->SetFromStringAfterPrompt(mEdControl, mEdParam, txt);
    else
      mEdControl->TextFromTextEntry(txt);
  }
  [self endUserInput];
  [self setNeedsDisplay:YES];
}

// Anonymous selector parts: the formatter would glue each to the name before it.
// clang-format off
- (IPopupMenu*) createIPopupMenu: (IPopupMenu*) pMenu : (NSRect) rect
// clang-format on
{
  NSWindow* window = [self window];
  if (!pMenu || !window) return nullptr;
  [[self retain] autorelease];  // the host may close the editor while the menu tracks

  IGraphicsMenuRcvr* rcvr = [[[IGraphicsMenuRcvr alloc] initWithFrame:rect] autorelease];
  IGraphicsNSMenu* menu = [[[IGraphicsNSMenu alloc] initWithIPopupMenuAndReciever:pMenu:rcvr] autorelease];

  // Just below the area's bottom edge, in window points.
  const NSPoint anchor = NSMakePoint(rect.origin.x, rect.origin.y - 4.0);
  const NSPoint location = [self convertPoint:anchor toView:nil];
  NSEvent* event = [NSEvent otherEventWithType:NSEventTypeApplicationDefined
                                      location:location
                                 modifierFlags:0
                                     timestamp:0.0
                                  windowNumber:[window windowNumber]
                                       context:nil
                                       subtype:0
                                         data1:0
                                         data2:0];
  if (!event) return nullptr;
  [NSMenu popUpContextMenu:menu withEvent:event forView:rcvr];

  NSMenuItem* chosenItem = [rcvr MenuItem];
  NSMenu* chosenMenu = [chosenItem menu];
  if (!chosenMenu || ![chosenMenu isKindOfClass:[IGraphicsNSMenu class]]) return nullptr;
  IPopupMenu* chosen = [(IGraphicsNSMenu*)chosenMenu AssociatedIPopupMenu];
  const NSInteger idx = [chosenMenu indexOfItem:chosenItem];
  if (!chosen || idx < 0) return nullptr;
  chosen->SetChosenItemIdx(static_cast<int>(idx));
  return chosen;
}

// clang-format off
- (void) createTextEntry: (IControl*) pControl : (IParam*) pParam : (IText*) pText : (const char*) pString : (NSRect) areaRect
// clang-format on
{
  if (!pControl || !pText || mTextFieldView) return;

  mTextFieldView = [[NSTextField alloc] initWithFrame:areaRect];
  // A little under the style's size, so the typed text fits the control's area.
  const CGFloat fontSize =
      static_cast<CGFloat>(static_cast<int>(pText->mSize * 0.9 * (mGraphics ? mGraphics->GetScale() : 1.0)));
  NSFont* font = [NSFont fontWithName:ToNSString(pText->mFont) size:fontSize];
  if (!font) font = [NSFont systemFontOfSize:fontSize];
  [mTextFieldView setFont:font];
  switch (pText->mAlign) {
    case IText::kAlignNear:
      [mTextFieldView setAlignment:NSTextAlignmentLeft];
      break;
    case IText::kAlignFar:
      [mTextFieldView setAlignment:NSTextAlignmentRight];
      break;
    default:
      [mTextFieldView setAlignment:NSTextAlignmentCenter];
      break;
  }

  if (pParam) {
    CocoaFormatter* formatter = [[CocoaFormatter alloc] init];
    [formatter setAcceptableCharacters:CocoaMapping::TextEntryCharacters(pParam->GetType())];
    [formatter setMaximumLength:pControl->GetTextEntryLength()];
    [mTextFieldView setFormatter:formatter];
    [formatter release];
  }

  [[mTextFieldView cell] setLineBreakMode:NSLineBreakByTruncatingTail];
  [mTextFieldView setAllowsEditingTextAttributes:NO];
  [mTextFieldView setTextColor:ToNSColor(pText->mTextEntryFGColor)];
  [mTextFieldView setDrawsBackground:YES];
  [mTextFieldView setBackgroundColor:ToNSColor(pText->mTextEntryBGColor)];
  [mTextFieldView setStringValue:ToNSString(pString)];
  [mTextFieldView setBordered:NO];
  [mTextFieldView setFocusRingType:NSFocusRingTypeNone];
  [mTextFieldView setDelegate:self];
  [self addSubview:mTextFieldView];

  NSWindow* window = [self window];
  [window makeKeyAndOrderFront:nil];
  [window makeFirstResponder:mTextFieldView];

  mEdParam = pParam;
  mEdControl = pControl;
}

- (void)endUserInput {
  NSTextField* field = mTextFieldView;
  mTextFieldView = nil;
  mEdParam = nullptr;
  mEdControl = nullptr;
  if (!field) return;
  // No delegate first: ending the edit below must not apply the text.
  [field setDelegate:nil];
  [[self window] makeFirstResponder:self];
  [field removeFromSuperview];
  [field release];
}

- (NSString*)view:(NSView*)pView
    stringForToolTip:(NSToolTipTag)tag
               point:(NSPoint)point
            userData:(void*)pData {
  const char* tip = "";
  if (mGraphics) {
    IControl* control = mGraphics->GetControl(mGraphics->GetMouseOver());
    if (control) tip = control->GetTooltip();
  }
  return ToNSString(tip);
}

- (void)registerToolTip:(IRECT*)pRECT {
  if (!mGraphics || !pRECT) return;
  [self addToolTipRect:ToNSRect(mGraphics, pRECT) owner:self userData:nil];
}

@end
