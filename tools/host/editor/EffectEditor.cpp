// The editor of either format behind EffectEditor.
#include "host/editor/EffectEditor.h"

#include "host/clap/ClapEffect.h"
#include "host/editor/EditorHost.h"
#include "host/vst3/Module.h"
#include "host/vst3/PluginInstance.h"
#include "host/vst3/Vst3Effect.h"

namespace qvhost {

namespace {

#if defined(_WIN32)
const char* const kClapWindowApi = CLAP_WINDOW_API_WIN32;
#else
const char* const kClapWindowApi = CLAP_WINDOW_API_X11;
#endif

class Vst3Editor final : public EffectEditor {
 public:
  Vst3Editor(Module& module, PluginInstance& instance) : mModule(module), mInstance(instance) {}
  ~Vst3Editor() override {
    mHost.reset();
    // Whatever the plug-in left registered is released while its module is still loaded.
    mModule.hostContext()->setRunLoop(nullptr);
  }

  bool open(HostRunLoop& loop, double scale, std::string* error) {
    // Plug-ins may take the run loop from the context they were initialised with, not the frame.
    mModule.hostContext()->setRunLoop(&loop);
    mHost = EditorHost::open(mInstance, loop, error, scale);
    return mHost != nullptr;
  }
  EditorWindow& window() override { return mHost->window(); }

 private:
  Module& mModule;
  PluginInstance& mInstance;
  std::unique_ptr<EditorHost> mHost;
};

class ClapEditor final : public EffectEditor {
 public:
  explicit ClapEditor(ClapPlugin& plugin) : mPlugin(plugin) {}
  ~ClapEditor() override {
    if (mCreated) mPlugin.gui()->destroy(mPlugin.plugin());
    mPlugin.onResizeRequest = nullptr;
    mWindow.reset();
    mPlugin.setRunLoop(nullptr);
  }

  bool open(HostRunLoop& loop, double scale, std::string* error) {
    mPlugin.setRunLoop(&loop);
    const clap_plugin_gui_t* gui = mPlugin.gui();
    const clap_plugin_t* p = mPlugin.plugin();
    if (!gui || !gui->is_api_supported(p, kClapWindowApi, false))
      return fail("the plug-in has no embeddable editor for this system's windows", error);
    if (!gui->create(p, kClapWindowApi, false)) return fail("the plug-in could not create its editor", error);
    mCreated = true;
    // A host on a scaled screen tells the editor its factor before it asks for the size.
    if (scale > 0 && !gui->set_scale(p, scale))
      return fail("the editor does not take a content scale factor", error);
    uint32_t w = 0, h = 0;
    if (!gui->get_size(p, &w, &h) || w == 0 || h == 0) return fail("the editor reports no size", error);
    mWindow = EditorWindow::open(static_cast<int>(w), static_cast<int>(h), mPlugin.descriptor().name, error);
    if (!mWindow) return false;
    EditorWindow* window = mWindow.get();
    mPlugin.onResizeRequest = [window](uint32_t nw, uint32_t nh) {
      return window->resize(static_cast<int>(nw), static_cast<int>(nh));
    };
    clap_window_t parent{};
    parent.api = kClapWindowApi;
#if defined(_WIN32)
    parent.win32 = mWindow->hwnd();
#else
    parent.x11 = mWindow->xid();
#endif
    if (!gui->set_parent(p, &parent)) return fail("the plug-in could not embed its editor", error);
    gui->show(p);
    return true;
  }
  EditorWindow& window() override { return *mWindow; }

 private:
  static bool fail(const char* why, std::string* error) {
    if (error) *error = why;
    return false;
  }

  ClapPlugin& mPlugin;
  bool mCreated = false;
  std::unique_ptr<EditorWindow> mWindow;
};

}  // namespace

std::unique_ptr<EffectEditor> openEffectEditor(LoadedEffect& effect, HostRunLoop& loop, double scale,
                                               std::string* error) {
  Module* module = nullptr;
  PluginInstance* instance = nullptr;
  if (vst3Parts(effect, &module, &instance)) {
    auto editor = std::make_unique<Vst3Editor>(*module, *instance);
    if (!editor->open(loop, scale, error)) return nullptr;
    return editor;
  }
  if (ClapPlugin* clap = clapPlugin(effect)) {
    auto editor = std::make_unique<ClapEditor>(*clap);
    if (!editor->open(loop, scale, error)) return nullptr;
    return editor;
  }
  if (error) *error = "the host has no editor window for this kind of plug-in";
  return nullptr;
}

}  // namespace qvhost
