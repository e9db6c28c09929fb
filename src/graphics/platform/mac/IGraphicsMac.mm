// IGraphicsMac: the window's life cycle (view, host sub-window), presenting the back buffer, and
// the text entries, menus and tooltips it hands to the view. Manual reference counting (built
// with -fno-objc-arc).
#import "graphics/platform/mac/IGraphicsMac.h"

#import <ApplicationServices/ApplicationServices.h>
#import <Cocoa/Cocoa.h>

#import "graphics/platform/mac/CustomCocoaWindow.h"
#import "graphics/platform/mac/IGraphicsCocoa.h"

#include "graphics/IControl.h"
#include "graphics/platform/mac/CocoaMapping.h"
#include "pix/PIX_SysBitmap.h"

#include <algorithm>

namespace {
IGraphicsCocoa* ViewOf(void* view) { return (IGraphicsCocoa*)view; }

// The main display's own profile, so the editor's colours look as they do in other apps; device
// RGB where that cannot be had.
CGColorSpaceRef CreateDisplayColorSpace() {
  CGColorSpaceRef colorSpace = nullptr;
  if (GetSystemVersion() >= 0x1070) {
#if defined(__LP64__)
    // The ColorSync Manager profile calls exist only for 32-bit code; Core Graphics gives 64-bit
    // code the colour space built from the same display profile.
    colorSpace = CGDisplayCopyColorSpace(CGMainDisplayID());
#else
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
    CMProfileRef profile = nullptr;
    if (CMGetSystemProfile(&profile) == noErr && profile) {
      colorSpace = CGColorSpaceCreateWithPlatformColorSpace(profile);
      CMCloseProfile(profile);
    }
#pragma clang diagnostic pop
#endif
  }
  if (!colorSpace) colorSpace = CGColorSpaceCreateDeviceRGB();
  return colorSpace;
}
}  // namespace

IGraphicsMac::IGraphicsMac(IPlugin* plug, int w, int h, int fps) : IGraphics(plug, w, h, fps) {
  // The host may not be a Cocoa application; this makes AppKit usable inside it.
  NSApplicationLoad();
}

IGraphicsMac::~IGraphicsMac() {
  CloseWindow();
  if (mColorSpace) CGColorSpaceRelease(mColorSpace);
  mColorSpace = nullptr;
}

bool IGraphicsMac::DrawScreen(IRECT*) {
  if (!mGraphicsCocoa) return false;
  NSGraphicsContext* context = [NSGraphicsContext currentContext];
  CGContextRef cg = context ? [context CGContext] : nullptr;
  if (!cg) return false;

  // Before PrepDraw there is nothing to show; Cocoa keeps what it had.
  PIX_SysBitmap* back = GetBackBuffer();
  if (!back || !back->getBits() || back->getWidth() <= 0 || back->getHeight() <= 0) return true;

  if (!mColorSpace) mColorSpace = CreateDisplayColorSpace();

  // The image wraps the back buffer's memory: no copy per frame. It is released before this
  // returns, so it never outlives the buffer.
  const size_t rowBytes = static_cast<size_t>(back->getRowSpan()) * 4;
  const size_t length = rowBytes * static_cast<size_t>(back->getHeight());
  CGDataProviderRef provider = CGDataProviderCreateWithData(nullptr, back->getBits(), length, nullptr);
  if (!provider) return true;
  // Little-endian 32-bit words 0xAARRGGBB whose top byte is ignored: the back buffer's layout.
  const CGBitmapInfo info =
      static_cast<CGBitmapInfo>(kCGBitmapByteOrder32Little | kCGImageAlphaNoneSkipFirst);
  CGImageRef image =
      CGImageCreate(static_cast<size_t>(back->getWidth()), static_cast<size_t>(back->getHeight()), 8, 32,
                    rowBytes, mColorSpace, info, provider, nullptr, false, kCGRenderingIntentDefault);
  CGDataProviderRelease(provider);
  if (!image) return true;
  // The buffer holds the view's pixels (points times scale times backing): drawn into the view's
  // points it lands one pixel on one pixel, so nothing may smooth it.
  CGContextSetInterpolationQuality(cg, kCGInterpolationNone);
  CGContextDrawImage(cg, CGRectMake(0.0, 0.0, WindowWidth(), WindowHeight()), image);
  CGImageRelease(image);
  return true;
}

bool IGraphicsMac::MeasureIText(IText* txt, const char* str, IRECT* destRect) {
  @autoreleasepool {
    return IGraphics::MeasureIText(txt, str, destRect);
  }
}

void IGraphicsMac::ForceEndUserEdit() {
  if (mGraphicsCocoa) [ViewOf(mGraphicsCocoa) endUserInput];
}

void IGraphicsMac::Resize(int w, int h) {
  if (w == Width() && h == Height()) return;
  // The open text entry refers to a control that the engine is about to delete.
  ForceEndUserEdit();
  IGraphics::Resize(w, h);
  if (mGraphicsCocoa) [ViewOf(mGraphicsCocoa) setFrameSize:NSMakeSize(WindowWidth(), WindowHeight())];
}

void IGraphicsMac::OnScaleChanged() {
  // An open text field sits at the old size and place.
  ForceEndUserEdit();
  if (!mGraphicsCocoa) return;
  IGraphicsCocoa* view = ViewOf(mGraphicsCocoa);
  [view setFrameSize:NSMakeSize(WindowWidth(), WindowHeight())];
  if (mSubNSWindow) [(NSWindow*)mSubNSWindow setContentSize:NSMakeSize(WindowWidth(), WindowHeight())];
  UpdateTooltips();
  [view setNeedsDisplay:YES];
}

IPopupMenu* IGraphicsMac::CreateIPopupMenu(IPopupMenu* menu, IRECT* areaRect) {
  ReleaseMouseCapture();
  if (!mGraphicsCocoa || !menu || !areaRect) return nullptr;
  const NSRect rect = ToNSRect(this, areaRect);
  return [ViewOf(mGraphicsCocoa) createIPopupMenu:menu:rect];
}

void IGraphicsMac::CreateTextEntry(IControl* control, IText* text, IRECT* textRect, const char* str,
                                   IParam* param) {
  if (!mGraphicsCocoa || !control || !text || !textRect) return;
  const NSRect rect = ToNSRect(this, textRect);
  [ViewOf(mGraphicsCocoa) createTextEntry:control:param:text:str:rect];
}

void* IGraphicsMac::OpenWindow(void* parentView) {
  CloseWindow();
  IGraphicsCocoa* view = [[IGraphicsCocoa alloc] initWithIGraphics:this];
  if (!view) return nullptr;
  mGraphicsCocoa = view;  // keeps the reference from alloc
  if (parentView) [(NSView*)parentView addSubview:view];
  UpdateTooltips();
  return view;
}

void IGraphicsMac::CloseWindow() {
  if (!mGraphicsCocoa) return;
  // The view may be released here, outside any event (the engine's destructor).
  @autoreleasepool {
    IGraphicsCocoa* view = ViewOf(mGraphicsCocoa);
    // Forget the view first: removing it from its superview comes back here.
    mGraphicsCocoa = nullptr;
    [view removeAllToolTips];
    [view killTimer];
    [view endUserInput];
    if ([view detachGraphics:this]) [view removeFromSuperview];
    [view release];
  }
}

void IGraphicsMac::AttachSubWindow(void* hostWindowRef) {
  if (!hostWindowRef) return;
  @autoreleasepool {
    RemoveSubWindow();

#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
    NSWindow* hostWindow = [[NSWindow alloc] initWithWindowRef:hostWindowRef];
#pragma clang diagnostic pop
    if (!hostWindow) return;
    // We hold the one reference and release it ourselves in RemoveSubWindow.
    [hostWindow setReleasedWhenClosed:NO];
    [hostWindow setCanHide:YES];

    const NSRect hostFrame = [hostWindow frame];
    const int xOffset = CocoaMapping::SubWindowXOffset(hostFrame.size.width, WindowWidth());
    const NSRect content =
        NSMakeRect(hostFrame.origin.x + xOffset, hostFrame.origin.y, WindowWidth(), WindowHeight());
    CustomCocoaWindow* child = [[CustomCocoaWindow alloc] initWithContentRect:content
                                                                    styleMask:NSWindowStyleMaskBorderless
                                                                      backing:NSBackingStoreBuffered
                                                                        defer:NO];
    if (!child) {
      [hostWindow release];
      return;
    }
    [child setReleasedWhenClosed:NO];
    [child setOpaque:YES];
    [child setCanHide:YES];
    [child setHasShadow:NO];

    mHostNSWindow = hostWindow;
    mSubNSWindow = child;
    OpenWindow([child contentView]);
    [hostWindow addChildWindow:child ordered:NSWindowAbove];
    [hostWindow orderFront:nil];
    [hostWindow display];
    // Some hosts bring their own window forward once more after this returns.
    [child performSelector:@selector(orderFront:) withObject:nil afterDelay:0.05];
  }
}

void IGraphicsMac::RemoveSubWindow() {
  if (!mHostNSWindow && !mSubNSWindow) return;
  @autoreleasepool {
    NSWindow* hostWindow = (NSWindow*)mHostNSWindow;
    NSWindow* child = (NSWindow*)mSubNSWindow;
    mHostNSWindow = nullptr;
    mSubNSWindow = nullptr;

    CloseWindow();
    if (child) {
      // A still pending bring-to-front would show the child again after it closed.
      [NSObject cancelPreviousPerformRequestsWithTarget:child selector:@selector(orderFront:) object:nil];
      [child orderOut:nil];
    }
    [hostWindow orderOut:nil];
    if (child) {
      [child close];
      [hostWindow removeChildWindow:child];
      [child release];
    }
    [hostWindow close];
    [hostWindow release];
  }
}

void IGraphicsMac::UpdateTooltips() {
  if (!mGraphicsCocoa || !TooltipsEnabled()) return;
  @autoreleasepool {
    IGraphicsCocoa* view = ViewOf(mGraphicsCocoa);
    [view removeAllToolTips];
    const int n = NControls();
    for (int i = 0; i < n; ++i) {
      IControl* control = GetControl(i);
      if (!control || control->IsHidden() || control->GetTargetRECT()->Empty()) continue;
      [view registerToolTip:control->GetTargetRECT()];
    }
  }
}

bool IGraphicsMac::ScreenWorkArea(int* width, int* height) const {
  if (!width || !height) return false;
  @autoreleasepool {
    IGraphicsCocoa* view = ViewOf(mGraphicsCocoa);
    NSWindow* window = view ? [view window] : nil;
    NSScreen* screen = window ? [window screen] : nil;
    if (!screen) screen = [NSScreen mainScreen];
    if (!screen) return false;
    const NSRect visible = [screen visibleFrame];
    double left = 0.0, top = 0.0;
    if (window) {
      // Window coordinates start at the frame's bottom left, title bar included.
      const NSRect inWindow = [view convertRect:[view bounds] toView:nil];
      left = inWindow.origin.x;
      top = [window frame].size.height - NSMaxY(inWindow);
    }
    *width = static_cast<int>(visible.size.width - std::max(0.0, left));
    *height = static_cast<int>(visible.size.height - std::max(0.0, top));
    return *width > 0 && *height > 0;
  }
}

PIX_IBitmap* IGraphicsMac::OSLoadBitmap(int, const char* name) {
  return LoadImgFromResourceOSX(GetBundleID(), name);
}
