// The host's context menu for an editor.
#include "host/editor/ContextMenu.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>

#include "host/vst3/Utf8Text.h"
#include "vst3/abi/ResultCodes.h"
#include "vst3/support/Utf16.h"

using namespace vst3abi;

namespace qvhost {

namespace {

constexpr int kTextLeft = 18;  // room for the check mark
constexpr int kTextRight = 14;
constexpr int kSeparatorHeight = 7;
// While the plug-in's window still holds the pointer (the button that opened the menu is down),
// the grab is retried this often.
constexpr int kGrabRetryMs = 20;

bool isSeparator(const IContextMenuItem& item) { return (item.flags & IContextMenuItem::kIsSeparator) != 0; }

// The core font draws Latin-1; anything beyond it shows as '?'.
std::string latin1(const char16_t* text, size_t maxUnits) {
  std::string out;
  for (size_t i = 0; i < maxUnits && text[i]; ++i) out += text[i] < 0x100 ? static_cast<char>(text[i]) : '?';
  return out;
}

unsigned long colour(Display* d, unsigned rgb) {
  XColor c{};
  c.red = static_cast<unsigned short>((rgb >> 16 & 0xFF) * 0x101);
  c.green = static_cast<unsigned short>((rgb >> 8 & 0xFF) * 0x101);
  c.blue = static_cast<unsigned short>((rgb & 0xFF) * 0x101);
  c.flags = DoRed | DoGreen | DoBlue;
  if (!XAllocColor(d, DefaultColormap(d, DefaultScreen(d)), &c)) return BlackPixel(d, DefaultScreen(d));
  return c.pixel;
}

}  // namespace

ContextMenu::ContextMenu(HostRunLoop* loop, unsigned long parentWindow)
    : mLoop(Ref<HostRunLoop>::share(loop)), mParent(parentWindow) {}

ContextMenu::~ContextMenu() { close(); }

tresult ContextMenu::queryInterface(const TUID iid, void** obj) {
  if (!obj) return kInvalidArgument;
  if (uidEquals(iid, FUnknown::iid) || uidEquals(iid, IContextMenu::iid)) {
    *obj = static_cast<IContextMenu*>(this);
  } else if (uidEquals(iid, IEventHandler::iid)) {
    *obj = static_cast<IEventHandler*>(this);
  } else if (uidEquals(iid, ITimerHandler::iid)) {
    *obj = static_cast<ITimerHandler*>(this);
  } else {
    *obj = nullptr;
    return kNoInterface;
  }
  addRef();
  return kResultOk;
}

uint32 ContextMenu::release() {
  const uint32 n = mRefs.sub();
  if (n == 0) delete this;
  return n;
}

void ContextMenu::addHostItem(const std::string& name, int32 flags, Action action) {
  Item item{};
  vstsupport::Utf8ToUtf16(name.c_str(), item.item.name, 128);
  item.item.tag = -1 - mHostItems;
  item.item.flags = flags;
  item.action = std::move(action);
  mItems.insert(mItems.begin() + mHostItems, std::move(item));
  ++mHostItems;
}

tresult ContextMenu::getItem(int32 index, IContextMenuItem* item, IContextMenuTarget** target) {
  if (index < 0 || index >= getItemCount()) return kInvalidArgument;
  if (item) *item = mItems[static_cast<size_t>(index)].item;
  if (target) *target = mItems[static_cast<size_t>(index)].target.get();
  return kResultOk;
}

tresult ContextMenu::addItem(const IContextMenuItem* item, IContextMenuTarget* target) {
  if (!item) return kInvalidArgument;
  if (mDisplay) return kResultFalse;  // the shown menu is not rebuilt
  mItems.push_back(Item{*item, Ref<IContextMenuTarget>::share(target), nullptr});
  return kResultOk;
}

tresult ContextMenu::removeItem(const IContextMenuItem* item, IContextMenuTarget* target) {
  if (!item || mDisplay) return kResultFalse;
  for (auto it = mItems.begin() + mHostItems; it != mItems.end(); ++it) {
    if (it->item.tag == item->tag && it->target.get() == target) {
      mItems.erase(it);
      return kResultOk;
    }
  }
  return kResultFalse;
}

std::vector<std::string> ContextMenu::itemNames() const {
  std::vector<std::string> names;
  for (const Item& i : mItems) names.push_back(toUtf8(i.item.name, 128));
  return names;
}

tresult ContextMenu::popup(UCoord x, UCoord y) {
  if (mDisplay || mItems.empty()) return kResultFalse;
  mPopupX = x;
  mPopupY = y;
  // A connection of its own: the menu's events and grabs never mix with the host window's.
  mDisplay = XOpenDisplay(nullptr);
  if (!mDisplay) return kResultFalse;
  Display* d = mDisplay;
  const int screen = DefaultScreen(d);
  const Window root = RootWindow(d, screen);
  Window child;
  if (!XTranslateCoordinates(d, mParent, root, x, y, &mX, &mY, &child)) {
    close();
    return kResultFalse;
  }

  XFontStruct* font = XLoadQueryFont(d, "fixed");
  if (!font) font = XQueryFont(d, XGContextFromGC(DefaultGC(d, screen)));
  mFont = font;
  mAscent = font ? font->ascent : 10;
  mRow = (font ? font->ascent + font->descent : 13) + 8;
  int textWidth = 80;
  for (const Item& i : mItems) {
    const std::string text = latin1(i.item.name, 128);
    if (font) textWidth = std::max(textWidth, XTextWidth(font, text.data(), static_cast<int>(text.size())));
  }
  mWidth = kTextLeft + textWidth + kTextRight;
  mHeight = itemTop(getItemCount());
  // Kept on the screen, as menus are.
  mX = std::max(0, std::min(mX, DisplayWidth(d, screen) - mWidth - 2));
  mY = std::max(0, std::min(mY, DisplayHeight(d, screen) - mHeight - 2));

  XSetWindowAttributes attrs{};
  attrs.override_redirect = True;
  attrs.background_pixel = colour(d, 0xF2F2F2);
  attrs.event_mask =
      ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | LeaveWindowMask | KeyPressMask;
  mWindow = XCreateWindow(d, root, mX, mY, static_cast<unsigned>(mWidth), static_cast<unsigned>(mHeight), 0,
                          CopyFromParent, InputOutput, CopyFromParent,
                          CWOverrideRedirect | CWBackPixel | CWEventMask, &attrs);
  mGC = XCreateGC(d, mWindow, 0, nullptr);
  if (font) XSetFont(d, static_cast<GC>(mGC), font->fid);
  XMapRaised(d, mWindow);
  XFlush(d);

  mLoop->registerEventHandler(this, ConnectionNumber(d));
  mLoop->registerTimer(this, kGrabRetryMs);
  tryGrab();
  return kResultOk;
}

void ContextMenu::tryGrab() {
  if (!mDisplay) return;
  // Reported relative to the menu wherever they happen, so a click outside can close it.
  if (!mPointerGrabbed) {
    mPointerGrabbed =
        XGrabPointer(mDisplay, mWindow, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                     GrabModeAsync, GrabModeAsync, None, None, CurrentTime) == GrabSuccess;
  }
  if (!mKeyboardGrabbed) {
    mKeyboardGrabbed =
        XGrabKeyboard(mDisplay, mWindow, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
  }
  XFlush(mDisplay);
  if (mPointerGrabbed && mKeyboardGrabbed) mLoop->unregisterTimer(this);
}

void ContextMenu::onTimer() { tryGrab(); }

void ContextMenu::onFDIsSet(FileDescriptor) {
  // Choosing closes the menu, which lets the run loop drop its reference.
  Ref<ContextMenu> keep = Ref<ContextMenu>::share(this);
  while (mDisplay && XPending(mDisplay) > 0) {
    XEvent e;
    XNextEvent(mDisplay, &e);
    switch (e.type) {
      case Expose:
        if (e.xexpose.count == 0) draw();
        break;
      case MotionNotify:
        if (itemAt(e.xmotion.x, e.xmotion.y) != mHighlight) {
          mHighlight = itemAt(e.xmotion.x, e.xmotion.y);
          draw();
        }
        break;
      case LeaveNotify:
        mHighlight = -1;
        draw();
        break;
      case ButtonPress:
        if (e.xbutton.button > Button3) break;  // the wheel neither chooses nor closes
        mPressedInside =
            e.xbutton.x >= 0 && e.xbutton.y >= 0 && e.xbutton.x < mWidth && e.xbutton.y < mHeight;
        mPressedOutside = !mPressedInside;
        break;
      case ButtonRelease:
        if (e.xbutton.button > Button3) break;
        // The whole click that dismisses the menu is the menu's: its release reaches no window below.
        if (mPressedOutside) {
          close();
        } else if (mPressedInside) {
          const int index = itemAt(e.xbutton.x, e.xbutton.y);
          if (selectable(index)) choose(index);
        }
        break;
      case KeyPress:
        if (XLookupKeysym(&e.xkey, 0) == XK_Escape) close();
        break;
      default:
        break;
    }
  }
}

void ContextMenu::dismiss() {
  Ref<ContextMenu> keep = Ref<ContextMenu>::share(this);
  close();
}

void ContextMenu::close() {
  if (!mDisplay) return;
  mLoop->unregisterTimer(this);
  mLoop->unregisterEventHandler(this);
  if (mPointerGrabbed) XUngrabPointer(mDisplay, CurrentTime);
  if (mKeyboardGrabbed) XUngrabKeyboard(mDisplay, CurrentTime);
  mPointerGrabbed = mKeyboardGrabbed = false;
  if (mGC) XFreeGC(mDisplay, static_cast<GC>(mGC));
  if (mFont) XFreeFont(mDisplay, static_cast<XFontStruct*>(mFont));
  if (mWindow) XDestroyWindow(mDisplay, mWindow);
  XCloseDisplay(mDisplay);
  mDisplay = nullptr;
  mWindow = 0;
  mGC = mFont = nullptr;
  mHighlight = -1;
  mPressedInside = mPressedOutside = false;
}

void ContextMenu::choose(int index) {
  const Item item = mItems[static_cast<size_t>(index)];
  close();
  if (item.action)
    item.action();
  else if (item.target)
    item.target->executeMenuItem(item.item.tag);
}

int ContextMenu::itemHeight(int index) const {
  return isSeparator(mItems[static_cast<size_t>(index)].item) ? kSeparatorHeight : mRow;
}

int ContextMenu::itemTop(int index) const {
  int top = 0;
  for (int i = 0; i < index && i < count(); ++i) top += itemHeight(i);
  return top;
}

int ContextMenu::itemAt(int x, int y) const {
  if (x < 0 || x >= mWidth || y < 0) return -1;
  for (int i = 0, top = 0; i < count(); top += itemHeight(i), ++i)
    if (y < top + itemHeight(i)) return i;
  return -1;
}

bool ContextMenu::selectable(int index) const {
  if (index < 0 || index >= count()) return false;
  const IContextMenuItem& item = mItems[static_cast<size_t>(index)].item;
  return !isSeparator(item) && !(item.flags & IContextMenuItem::kIsDisabled);
}

bool ContextMenu::screenOrigin(int* x, int* y) const {
  if (!mDisplay) return false;
  *x = mX;
  *y = mY;
  return true;
}

bool ContextMenu::itemCentre(int index, int* x, int* y) const {
  if (!mDisplay || index < 0 || index >= count()) return false;
  *x = mX + mWidth / 2;
  *y = mY + itemTop(index) + itemHeight(index) / 2;
  return true;
}

void ContextMenu::draw() {
  if (!mDisplay) return;
  Display* d = mDisplay;
  GC gc = static_cast<GC>(mGC);
  XSetForeground(d, gc, colour(d, 0xF2F2F2));
  XFillRectangle(d, mWindow, gc, 0, 0, static_cast<unsigned>(mWidth), static_cast<unsigned>(mHeight));
  for (int i = 0, top = 0; i < count(); top += itemHeight(i), ++i) {
    const IContextMenuItem& item = mItems[static_cast<size_t>(i)].item;
    if (isSeparator(item)) {
      XSetForeground(d, gc, colour(d, 0xB8B8B8));
      XDrawLine(d, mWindow, gc, 4, top + kSeparatorHeight / 2, mWidth - 5, top + kSeparatorHeight / 2);
      continue;
    }
    const bool lit = i == mHighlight && selectable(i);
    if (lit) {
      XSetForeground(d, gc, colour(d, 0x2F6DB5));
      XFillRectangle(d, mWindow, gc, 1, top, static_cast<unsigned>(mWidth - 2), static_cast<unsigned>(mRow));
    }
    XSetForeground(d, gc, colour(d, lit ? 0xFFFFFF : selectable(i) ? 0x101010 : 0x808080));
    if (item.flags & IContextMenuItem::kIsChecked)
      XFillRectangle(d, mWindow, gc, 6, top + mRow / 2 - 3, 6, 6);
    const std::string text = latin1(item.name, 128);
    XDrawString(d, mWindow, gc, kTextLeft, top + 4 + mAscent, text.data(), static_cast<int>(text.size()));
  }
  XSetForeground(d, gc, colour(d, 0x707070));
  XDrawRectangle(d, mWindow, gc, 0, 0, static_cast<unsigned>(mWidth - 1), static_cast<unsigned>(mHeight - 1));
  XFlush(d);
}

}  // namespace qvhost
