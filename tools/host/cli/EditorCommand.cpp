// "quorvane-host editor".
#include "host/cli/EditorCommand.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/audio/DemoSynth.h"
#include "host/cli/Failure.h"
#include "host/cli/OutputPaths.h"
#include "host/cli/PendingFile.h"
#include "host/editor/EditReport.h"
#include "host/editor/EditorHost.h"
#include "host/editor/EditorWindow.h"
#include "host/editor/PngFile.h"
#include "host/editor/RealtimePlayer.h"
#include "host/vst3/BlockProcessor.h"
#include "host/vst3/HostRunLoop.h"
#include "host/vst3/Module.h"
#include "host/vst3/ParameterSetting.h"
#include "host/vst3/PluginInstance.h"

namespace qvhost {

namespace {

// Generous: sanitizer builds on a busy machine take a while to draw the first picture.
constexpr int kSnapshotTimeoutMs = 20000;

// Everything the command holds, destroyed in the reverse order of a DAW's set-up.
struct Session {
  std::unique_ptr<Module> module;
  std::unique_ptr<PluginInstance> plugin;
  std::unique_ptr<BlockProcessor> proc;
  Ref<HostRunLoop> loop = Ref<HostRunLoop>::adopt(new HostRunLoop);
  std::unique_ptr<EditorHost> editor;
  std::unique_ptr<RealtimePlayer> player;

  ~Session() {
    player.reset();
    editor.reset();
    // Whatever a plug-in left registered is released while its module is still loaded.
    if (module) module->hostContext()->setRunLoop(nullptr);
    loop.reset();
    proc.reset();
    plugin.reset();
    module.reset();
  }
};

}  // namespace

int openSnapshot(const CommandLine& cl, const std::string& module, std::unique_ptr<PendingFile>* out) {
  if (cl.snapshot.empty()) return 0;
  std::string error;
  // The picture appears only when complete; a file the host reads is never written over.
  if (!outputsAreDistinct({{"--snapshot", cl.snapshot}}, {{"BUNDLE", module}}, &error))
    return usageError(error);
  PendingFile::removeOnSignals();
  *out = PendingFile::create(cl.snapshot, &error);
  return *out ? 0 : fail(error);
}

int saveSnapshot(EditorWindow& window, HostRunLoop& loop, const CommandLine& cl, PendingFile& out) {
  std::vector<uint32_t> pixels;
  bool ok;
  if (cl.demo) {
    // The demo keeps the meter moving, so the picture is taken as it stands after playing.
    const auto until = std::chrono::steady_clock::now() +
                       std::chrono::milliseconds(static_cast<long long>(cl.demoSeconds * 1000.0));
    while (std::chrono::steady_clock::now() < until && window.processEvents()) loop.runOnce(20);
    ok = waitForPicture(window, loop, kSnapshotTimeoutMs, false, &pixels);
  } else {
    ok = waitForPicture(window, loop, kSnapshotTimeoutMs, true, &pixels);
  }
  if (!ok)
    return fail("the editor showed no complete picture within " + std::to_string(kSnapshotTimeoutMs / 1000) +
                " s");
  std::string error;
  if (!writePng(out.path(), pixels, window.width(), window.height(), &error)) return fail(out.explain(error));
  if (!out.commit(&error)) return fail(error);
  std::printf("saved %d x %d editor picture to %s\n", window.width(), window.height(), cl.snapshot.c_str());
  return 0;
}

int runEditor(const CommandLine& cl) {
  std::string why;
  if (!EditorWindow::displayAvailable(&why)) {
    std::fprintf(stderr, "quorvane-host: the editor needs an X display: %s\n", why.c_str());
    return 2;
  }
  std::string error;
  std::unique_ptr<PendingFile> out;
  std::string unresolved;
  const std::string module = resolveModulePath(cl.bundle, &unresolved);
  if (const int rc = openSnapshot(cl, module.empty() ? cl.bundle : module, &out)) return rc;
  Session s;
  s.module = Module::load(cl.bundle, &error);
  if (!s.module) return fail(error);
  const ClassInfo* cls = s.module->findAudioEffect(cl.className);
  if (!cls) {
    return fail(cl.className.empty() ? "the module has no audio-effect class"
                                     : "the module has no audio-effect class named \"" + cl.className + "\"");
  }
  s.plugin = PluginInstance::create(*s.module, *cls, &error);
  if (!s.plugin) return fail(error);

  ProcessConfig config;
  config.sampleRate = cl.rate;
  config.maxBlock = cl.block;
  config.tempo = DemoSynth::kTempo;
  s.proc = std::make_unique<BlockProcessor>(*s.plugin);
  if (!s.proc->start(config, &error)) return fail(error);

  const auto params = s.plugin->parameters();
  for (const std::string& arg : cl.sets) {
    ParameterSetting setting;
    ResolvedSetting resolved;
    if (!splitSetting(arg, &setting, &error) ||
        !resolveSetting(*s.plugin, params, setting, &resolved, &error))
      return usageError(error);  // a mistake on the command line, as for process
    s.plugin->controller()->setParamNormalized(resolved.id, resolved.normalized);
    s.proc->queueParameter(resolved.id, resolved.normalized);
    std::fprintf(stderr, "set \"%s\" (id %u) = %s\n", resolved.title.c_str(), resolved.id,
                 resolved.display.empty() ? setting.value.c_str() : resolved.display.c_str());
  }

  // Plug-ins may take the run loop from the context they were initialised with, not the frame.
  s.module->hostContext()->setRunLoop(s.loop.get());
  s.editor = EditorHost::open(*s.plugin, *s.loop, &error, cl.scale);
  if (!s.editor) return fail(error);

  const double rate = cl.rate;
  const double seconds = cl.demoSeconds;
  RealtimePlayer::SourceFactory source;
  if (cl.demo) source = [rate, seconds] { return std::make_unique<DemoSynth>(rate, seconds); };
  s.player = std::make_unique<RealtimePlayer>(*s.proc, source);
  s.player->start();

  int result = 0;
  if (!cl.snapshot.empty()) {
    result = saveSnapshot(s.editor->window(), *s.loop, cl, *out);
  } else {
    // Each edit the user finishes is printed as the host reads it back.
    startEditReport(*s.plugin);
    while (s.editor->window().processEvents()) {
      s.loop->runOnce(100);
      reportFinishedEdits(*s.plugin, stdout);
    }
  }
  s.player->stop();
  if (!s.player->error().empty()) return fail("processing stopped: " + s.player->error());
  return result;
}

}  // namespace qvhost
