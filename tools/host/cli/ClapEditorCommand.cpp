// "quorvane-host editor" for a CLAP plug-in: the editor embedded in a host window through the gui
// extension, on the host's run loop for timers and the X connection, with the plug-in playing
// (the demo, or silence) in real time.
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/audio/DemoSynth.h"
#include "host/clap/ClapEffect.h"
#include "host/clap/ClapModule.h"
#include "host/clap/ClapPlugin.h"
#include "host/clap/ClapProcessor.h"
#include "host/cli/ClapCommands.h"
#include "host/cli/EditorCommand.h"
#include "host/cli/Failure.h"
#include "host/cli/PendingFile.h"
#include "host/editor/EditorHost.h"
#include "host/editor/EditorWindow.h"
#include "host/editor/RealtimePlayer.h"
#include "host/effect/LoadedEffect.h"
#include "host/vst3/HostRunLoop.h"

namespace qvhost {

namespace {

#if defined(_WIN32)
const char* const kWindowApi = CLAP_WINDOW_API_WIN32;
#else
const char* const kWindowApi = CLAP_WINDOW_API_X11;
#endif

// Everything the command holds, destroyed in the reverse order of a DAW's set-up.
struct ClapSession {
  std::unique_ptr<ClapModule> module;
  std::unique_ptr<ClapPlugin> plugin;
  std::unique_ptr<ClapProcessor> proc;
  Ref<HostRunLoop> loop = Ref<HostRunLoop>::adopt(new HostRunLoop);
  std::unique_ptr<EditorWindow> window;
  bool guiCreated = false;
  std::unique_ptr<RealtimePlayer> player;

  ~ClapSession() {
    player.reset();
    if (guiCreated) plugin->gui()->destroy(plugin->plugin());
    window.reset();
    proc.reset();
    if (plugin) plugin->setRunLoop(nullptr);
    plugin.reset();
    module.reset();
  }
};

}  // namespace

int runClapEditor(const CommandLine& cl) {
  std::string why;
  if (!EditorWindow::displayAvailable(&why)) {
    std::fprintf(stderr, "quorvane-host: the editor needs an X display: %s\n", why.c_str());
    return 2;
  }
  std::string error;
  std::unique_ptr<PendingFile> out;
  if (const int rc = openSnapshot(cl, cl.bundle, &out)) return rc;
  ClapSession s;
  s.module = ClapModule::load(cl.bundle, &error);
  if (!s.module) return fail(error);
  const ClapDescriptorInfo* desc = s.module->find(cl.className);
  if (!desc) return fail("'" + cl.bundle + "' has no such plug-in");
  s.plugin = ClapPlugin::create(*s.module, *desc, &error);
  if (!s.plugin) return fail(error);
  s.plugin->setRunLoop(s.loop.get());
  const clap_plugin_gui_t* gui = s.plugin->gui();
  const clap_plugin_t* p = s.plugin->plugin();
  if (!gui || !gui->is_api_supported(p, kWindowApi, false))
    return fail(std::string("the plug-in has no embeddable ") + kWindowApi + " editor");

  s.proc = std::make_unique<ClapProcessor>(*s.plugin);
  ProcessConfig config;
  config.sampleRate = cl.rate;
  config.maxBlock = cl.block;
  config.tempo = DemoSynth::kTempo;
  if (!s.proc->start(config, &error)) return fail(error);

  const auto params = s.plugin->parameters();
  for (const std::string& arg : cl.sets) {
    EffectSetting setting;
    if (!resolveClapSetting(*s.plugin, params, arg, &setting, &error)) return usageError(error);
    s.proc->queueParameter(setting.id, setting.value);
    std::fprintf(stderr, "set \"%s\" (id %u) = %s\n", setting.title.c_str(), setting.id,
                 setting.display.c_str());
  }

  if (!gui->create(p, kWindowApi, false)) return fail("the plug-in could not create its editor");
  s.guiCreated = true;
  // A host on a scaled screen tells the editor its factor before it asks for the size.
  if (cl.scale > 0 && !gui->set_scale(p, cl.scale))
    return fail("the editor does not take a content scale factor");
  uint32_t w = 0, h = 0;
  if (!gui->get_size(p, &w, &h) || w == 0 || h == 0) return fail("the editor reports no size");
  s.window = EditorWindow::open(static_cast<int>(w), static_cast<int>(h), desc->name, &error);
  if (!s.window) return fail(error);
  EditorWindow* window = s.window.get();
  s.plugin->onResizeRequest = [window](uint32_t nw, uint32_t nh) {
    return window->resize(static_cast<int>(nw), static_cast<int>(nh));
  };
  clap_window_t parent{};
  parent.api = kWindowApi;
#if defined(_WIN32)
  parent.win32 = s.window->hwnd();
#else
  parent.x11 = s.window->xid();
#endif
  if (!gui->set_parent(p, &parent)) return fail("the plug-in could not embed its editor");
  gui->show(p);

  const double rate = cl.rate;
  const double seconds = cl.demoSeconds;
  RealtimePlayer::SourceFactory source;
  if (cl.demo) source = [rate, seconds] { return std::make_unique<DemoSynth>(rate, seconds); };
  s.player = std::make_unique<RealtimePlayer>(*s.proc, source);
  s.player->start();

  int result = 0;
  if (out) {
    result = saveSnapshot(*s.window, *s.loop, cl, *out);
  } else {
    while (s.window->processEvents()) s.loop->runOnce(100);
  }
  s.player->stop();
  if (!s.player->error().empty()) return fail("processing stopped: " + s.player->error());
  return result;
}

}  // namespace qvhost
