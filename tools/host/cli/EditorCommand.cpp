// "quorvane-host editor".
#include "host/cli/EditorCommand.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/audio/DemoSynth.h"
#include "host/cli/EffectLoader.h"
#include "host/cli/Failure.h"
#include "host/cli/OutputPaths.h"
#include "host/cli/PendingFile.h"
#include "host/editor/EditReport.h"
#include "host/editor/EditorHost.h"
#include "host/editor/EditorWindow.h"
#include "host/editor/EffectEditor.h"
#include "host/editor/PngFile.h"
#include "host/editor/RealtimePlayer.h"
#include "host/effect/ProcessConfig.h"
#include "host/vst3/HostRunLoop.h"
#include "host/vst3/Module.h"
#include "host/vst3/PluginInstance.h"
#include "host/vst3/Vst3Effect.h"

namespace qvhost {

namespace {

// Generous: sanitizer builds on a busy machine take a while to draw the first picture.
constexpr int kSnapshotTimeoutMs = 20000;

// Everything the command holds, destroyed in the reverse order of a DAW's set-up.
struct Session {
  std::unique_ptr<LoadedEffect> effect;
  std::unique_ptr<EffectProcessor> proc;
  Ref<HostRunLoop> loop = Ref<HostRunLoop>::adopt(new HostRunLoop);
  std::unique_ptr<EffectEditor> editor;
  std::unique_ptr<RealtimePlayer> player;

  ~Session() {
    player.reset();
    editor.reset();
    loop.reset();
    proc.reset();
    effect.reset();
  }
};

// The --snapshot file, made before anything loads and refused when it names the module the host
// reads: 0 with *out set (left empty without --snapshot), else the exit code.
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

// The editor's first complete picture in the window (after the demo has played, with --demo),
// written to out: 0, or 1 when none came.
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

}  // namespace

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
  s.effect = loadEffect(cl.bundle, cl.className, &error);
  if (!s.effect) return fail(error);

  ProcessConfig config;
  config.sampleRate = cl.rate;
  config.maxBlock = cl.block;
  config.tempo = DemoSynth::kTempo;
  s.proc = s.effect->makeProcessor();
  if (!s.proc->start(config, &error)) return fail(error);

  for (const std::string& arg : cl.sets) {
    EffectSetting setting;
    // A mistake on the command line, as for process.
    if (!s.effect->resolveSetting(arg, &setting, &error)) return usageError(error);
    s.proc->queueParameter(setting.id, setting.value);
    std::fprintf(stderr, "set \"%s\" (id %u) = %s\n", setting.title.c_str(), setting.id,
                 setting.display.c_str());
  }

  s.editor = openEffectEditor(*s.effect, *s.loop, cl.scale, &error);
  if (!s.editor) return fail(error);

  const double rate = cl.rate;
  const double seconds = cl.demoSeconds;
  RealtimePlayer::SourceFactory source;
  if (cl.demo) source = [rate, seconds] { return std::make_unique<DemoSynth>(rate, seconds); };
  s.player = std::make_unique<RealtimePlayer>(*s.proc, source);
  s.player->start();

  int result = 0;
  if (out) {
    result = saveSnapshot(s.editor->window(), *s.loop, cl, *out);
  } else {
    // Each edit the user finishes in a VST 3 editor is printed as the host reads it back.
    Module* module = nullptr;
    PluginInstance* vst3 = nullptr;
    if (!vst3Parts(*s.effect, &module, &vst3)) vst3 = nullptr;
    if (vst3) startEditReport(*vst3);
    while (s.editor->window().processEvents()) {
      s.loop->runOnce(100);
      if (vst3) reportFinishedEdits(*vst3, stdout);
    }
  }
  s.player->stop();
  if (!s.player->error().empty()) return fail("processing stopped: " + s.player->error());
  return result;
}

}  // namespace qvhost
