// The host's top-level window that a plug-in editor is embedded into: a fixed-size window that
// reports when the user asks to close it, and whose pixels, the plug-in's child window included,
// can be read back. On Linux an X11 window on a display connection of its own; on Windows a Win32
// window of the thread that runs the host's loop, whose messages (the plug-in's child window's
// among them) processEvents dispatches.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#if defined(_WIN32)
struct HWND__;
#else
typedef struct _XDisplay Display;
#endif

namespace qvhost {

class EditorWindow {
 public:
  // Whether a display can be reached at all; false with the reason otherwise.
  static bool displayAvailable(std::string* why);
  // Empty with a message when no display can be opened or the size is unusable.
  static std::unique_ptr<EditorWindow> open(int width, int height, const std::string& title,
                                            std::string* error);
  ~EditorWindow();
  EditorWindow(const EditorWindow&) = delete;
  EditorWindow& operator=(const EditorWindow&) = delete;

#if defined(_WIN32)
  // The HWND, as a plug-in expects its parent in attached().
  HWND__* hwnd() const { return mWindow; }
#else
  // The X window id, as a plug-in expects its parent in attached().
  unsigned long xid() const { return mWindow; }
  // The display connection's descriptor, to watch in the run loop.
  int fd() const;
  Display* display() const { return mDisplay; }
#endif
  int width() const { return mWidth; }
  int height() const { return mHeight; }

  // Gives the window a new fixed size; false when the size is unusable.
  bool resize(int width, int height);
  // Handles the events that have arrived; false once closing was asked for.
  bool processEvents();
  bool closeRequested() const { return mCloseRequested; }

  // The window's pixels as 0xFFRRGGBB, rows top-down; false while it is not on screen.
  bool capture(std::vector<uint32_t>* pixels);

 private:
  EditorWindow() = default;

#if defined(_WIN32)
  static intptr_t proc(HWND__* hwnd, unsigned msg, uintptr_t wParam, intptr_t lParam);
  HWND__* mWindow = nullptr;
#else
  Display* mDisplay = nullptr;
  unsigned long mWindow = 0;
  unsigned long mDeleteAtom = 0;
#endif
  int mWidth = 0;
  int mHeight = 0;
  bool mCloseRequested = false;
};

}  // namespace qvhost
