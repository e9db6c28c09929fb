// One plug-in editor embedded the way a DAW embeds it: the controller's "editor" view, asked
// whether it takes an X11 parent (an HWND on Windows), given a frame (which also offers the run loop), sized,
// and attached to a top-level window of its size. Closing runs the protocol backwards: frame
// cleared, view removed and released, then the window destroyed. Several editors may share one
// run loop; every EditorHost must go before its PluginInstance's module is unloaded. While open,
// the editor's right-clicks on a parameter get the host's menu for it: the parameter and its value,
// "Reset to Default", and whatever the plug-in adds (on Linux; on Windows the plug-in shows its own).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include "host/editor/ContextMenu.h"
#endif
#include "host/editor/EditorWindow.h"
#include "host/editor/PlugFrame.h"
#include "host/vst3/HostRunLoop.h"
#include "host/vst3/PluginInstance.h"
#include "host/vst3/Ref.h"
#include "vst3/abi/PlugView.h"

namespace qvhost {

class EditorHost {
 public:
  // Empty with a message when the plug-in has no X11 editor or no window can be made. A scale
  // above 0 is handed to the view (IPlugViewContentScaleSupport) before its size is asked.
  static std::unique_ptr<EditorHost> open(PluginInstance& plugin, HostRunLoop& loop, std::string* error,
                                          double scale = 0);
  ~EditorHost();
  EditorHost(const EditorHost&) = delete;
  EditorHost& operator=(const EditorHost&) = delete;

  // Removes and releases the view, then destroys the window. Safe to call more than once.
  void close();
  bool isOpen() const { return static_cast<bool>(mView); }

  EditorWindow& window() const { return *mWindow; }
  vst3abi::IPlugView* view() const { return mView.get(); }
  PlugFrame& frame() const { return *mFrame; }
  // Hands the view a content scale factor as a host does when the screen changes; false when
  // the view does not take one.
  bool setContentScale(double scale);
  // True once the user asked to close the window.
  bool closeRequested() const { return mWindow && mWindow->closeRequested(); }
#if !defined(_WIN32)
  // The context menu the plug-in asked for last, or null; it may have been closed since.
  ContextMenu* lastMenu() const { return mMenu.get(); }
#endif

 private:
  class WindowEvents;
  EditorHost() = default;
#if !defined(_WIN32)
  vst3abi::IContextMenu* createMenu(PluginInstance& plugin, vst3abi::IPlugView* view,
                                    const vst3abi::ParamID* id);
#endif

  HostRunLoop* mLoop = nullptr;
  Ref<vst3abi::IPlugView> mView;
  bool mAttached = false;
  Ref<PlugFrame> mFrame;
  std::unique_ptr<EditorWindow> mWindow;
  Ref<WindowEvents> mEvents;
  Ref<ComponentHandler> mHandler;
#if !defined(_WIN32)
  Ref<ContextMenu> mMenu;
#endif
};

// Runs the loop until the window shows a picture that is not of one colour and, when stable is
// asked for, the same in two captures three frames apart. False on timeout; pixels holds the last
// capture.
bool waitForPicture(EditorHost& editor, HostRunLoop& loop, int timeoutMs, bool stable,
                    std::vector<uint32_t>* pixels);
// The same for any host window with an editor embedded in it.
bool waitForPicture(EditorWindow& window, HostRunLoop& loop, int timeoutMs, bool stable,
                    std::vector<uint32_t>* pixels);

}  // namespace qvhost
