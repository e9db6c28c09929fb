// Writes the fuzzers' seed corpora into fuzz/corpus/<fuzzer>/: small valid inputs made by our own
// code (state chunks, preset lists, program and bank files of both forms, Base64 blobs, PNGs of
// every colour type, the plug-in module's saved states, host state files and one call of each
// drawing operation), so that fuzzing starts from the formats rather than from nothing.
// Run: fuzz_seeds fuzz/corpus BUNDLE.
#include "FuzzPlugin.h"

#include "base/Base64.h"
#include "base/StrBuf.h"
#include "framework/ByteChunk.h"
#include "host/effect/StateFile.h"
#include "host/vst3/MemoryStream.h"
#include "host/vst3/Module.h"
#include "host/vst3/PluginInstance.h"
#include "pix/PIX_PNGWrite.h"

#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string gRoot;

void Write(const std::string& fuzzer, const std::string& name, const void* data, size_t n) {
  const std::string dir = gRoot + "/" + fuzzer;
  mkdir(dir.c_str(), 0755);
  FILE* f = std::fopen((dir + "/" + name).c_str(), "wb");
  if (!f || (n && std::fwrite(data, 1, n, f) != n)) std::exit(1);
  std::fclose(f);
}

void Write(const std::string& fuzzer, const std::string& name, const ByteChunk& c) {
  Write(fuzzer, name, c.Data(), static_cast<size_t>(c.Size()));
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::vector<uint8_t> v;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    int ch;
    while ((ch = std::fgetc(f)) != EOF) v.push_back(static_cast<uint8_t>(ch));
    std::fclose(f);
  }
  return v;
}

void Framework() {
  FakePlugin plug(FuzzPluginOptions());
  plug.GetParam(3)->SetNormalized(0.75);
  ByteChunk state;
  plug.SerializeState(&state);
  Write("state_chunk", "params", state);
  ByteChunk headed;
  plug.InitChunkWithFrameworkVer(&headed);
  plug.SerializeState(&headed);
  Write("state_chunk", "with-header", headed);

  plug.MakePresetFromChunk("seed", &state);
  plug.ModifyCurrentPreset("named");
  ByteChunk presets;
  plug.SerializePresets(&presets);
  Write("preset_list", "slots", presets);

  for (bool chunks : {true, false}) {
    FakePlugin p(FuzzPluginOptions(chunks));
    p.GetParam(1)->SetNormalized(0.25);
    p.ModifyCurrentPreset("seed");
    const std::string form = chunks ? "chunk" : "params";
    StrBuf path;
    path.Set(("/tmp/qv-seed-" + form).c_str());
    p.SaveProgramAsFXP(&path);
    std::vector<uint8_t> bytes = ReadAll(path.Get());
    Write("program_file", form, bytes.data(), bytes.size());
    p.SaveBankAsFXB(&path);
    bytes = ReadAll(path.Get());
    Write("bank_file", form, bytes.data(), bytes.size());
    std::remove(path.Get());
  }
}

void Base64() {
  const unsigned char raw[] = {0, 1, 2, 0xFF, 0x80, 'Q', 'v'};
  for (int n : {1, 2, 3, 7}) {
    std::string seed = {static_cast<char>(n), 0};
    seed += Base64Encode(raw, n);
    Write("base64", "blob" + std::to_string(n), seed.data(), seed.size());
  }
}

void Pngs() {
  struct Kind {
    const char* name;
    int colorType, depth;
    bool interlaced;
  };
  const Kind kinds[] = {{"grey1", PIX_PNGColor::kGrey, 1, false},
                        {"grey8", PIX_PNGColor::kGrey, 8, false},
                        {"greyalpha16", PIX_PNGColor::kGreyAlpha, 16, false},
                        {"palette4", PIX_PNGColor::kPalette, 4, false},
                        {"rgb16", PIX_PNGColor::kRGB, 16, true},
                        {"rgba8", PIX_PNGColor::kRGBA, 8, false}};
  for (const Kind& k : kinds) {
    PIX_PNGRaw img;
    img.width = 5;
    img.height = 3;
    img.colorType = k.colorType;
    img.bitDepth = k.depth;
    img.interlaced = k.interlaced;
    if (k.colorType == PIX_PNGColor::kPalette) {
      img.palette = {0, 0, 0, 255, 128, 0, 10, 200, 30};
      img.paletteAlpha = {0, 128};
    }
    if (k.colorType == PIX_PNGColor::kGrey && k.depth == 8) {
      img.transparentGrey = 7;
    }
    const int channels = k.colorType == PIX_PNGColor::kRGB         ? 3
                         : k.colorType == PIX_PNGColor::kRGBA      ? 4
                         : k.colorType == PIX_PNGColor::kGreyAlpha ? 2
                                                                   : 1;
    const int rowBytes = (img.width * channels * k.depth + 7) / 8;
    std::vector<std::vector<uint8_t>> rows;
    for (int y = 0; y < img.height; y++) {
      std::vector<uint8_t> row(rowBytes);
      for (int i = 0; i < rowBytes; i++)
        row[i] = static_cast<uint8_t>(k.colorType == PIX_PNGColor::kPalette ? (i + y) % 3 * 0x11 & 0x12
                                                                            : i * 37 + y * 11);
      rows.push_back(row);
    }
    img.rows = rows;
    const std::vector<unsigned char> png = PIX_EncodePNG(img);
    Write("png", k.name, png.data(), png.size());
  }
}

void ModuleStates(const char* bundle) {
  std::string error;
  auto module = qvhost::Module::load(bundle, &error);
  const qvhost::ClassInfo* cls = module ? module->findAudioEffect("Quorvane") : nullptr;
  auto inst = cls ? qvhost::PluginInstance::create(*module, *cls, &error) : nullptr;
  if (!inst) {
    std::fprintf(stderr, "%s\n", error.c_str());
    std::exit(1);
  }
  qvhost::PluginState state;
  state.classId = cls->cid;
  inst->saveState(&state.component, &state.controller, &error);
  Write("vst3_state", "defaults", state.controller.data(), state.controller.size());
  std::vector<uint8_t> e = qvhost::encodeState(state);
  Write("host_state_file", "defaults", e.data(), e.size());
  inst->controller()->setParamNormalized(7, 0.3);
  inst->controller()->setParamNormalized(0x62706173, 1.0);
  inst->saveState(&state.component, &state.controller, &error);
  Write("vst3_state", "changed", state.controller.data(), state.controller.size());
  state.component.clear();
  e = qvhost::encodeState(state);
  Write("host_state_file", "controller-only", e.data(), e.size());
}

void CommandLines() {
  const char* lines[] = {
      "process\0b.vst3\0--out\0o.wav\0--demo\0"
      "2\0--set\0Threshold=-5\0--block\0"
      "64\0--precision\0"
      "64\0--rate\0"
      "96000",
      "process\0b.vst3\0--in\0i.wav\0--out\0o.wav\0--sidechain\0s.wav\0--state-in\0a\0--state-out\0b\0--"
      "class\0Q",
      "editor\0b.vst3\0--demo\0"
      "1.5\0--snapshot\0s.png\0--set\0"
      "11=1",
      "info\0b.vst3", "--help"};
  const size_t sizes[] = {sizeof("process\0b.vst3\0--out\0o.wav\0--demo\0"
                                 "2\0--set\0Threshold=-5\0--block\0"
                                 "64\0--precision\0"
                                 "64\0--rate\0"
                                 "96000") -
                              1,
                          sizeof("process\0b.vst3\0--in\0i.wav\0--out\0o.wav\0--sidechain\0s.wav\0--state-"
                                 "in\0a\0--state-out\0b\0--class\0Q") -
                              1,
                          sizeof("editor\0b.vst3\0--demo\0"
                                 "1.5\0--snapshot\0s.png\0--set\0"
                                 "11=1") -
                              1,
                          sizeof("info\0b.vst3") - 1, sizeof("--help") - 1};
  for (int i = 0; i < 5; i++) Write("command_line", "args" + std::to_string(i), lines[i], sizes[i]);
}

// One call of each drawing operation on 12 x 12 bitmaps, all arguments from the same mid byte.
void DrawCalls() {
  for (int op = 0; op < 24; op++) {
    std::vector<uint8_t> in = {12, 12, 12, 12, 12, 12, 12, 12, 4, 12, 12, 12, 12};
    in.insert(in.end(), {static_cast<uint8_t>(op % 5), 1, static_cast<uint8_t>(op)});
    in.insert(in.end(), 48, 0x14);
    Write("draw", "op" + std::to_string(op), in.data(), in.size());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: fuzz_seeds CORPUS_DIR BUNDLE\n");
    return 2;
  }
  gRoot = argv[1];
  mkdir(gRoot.c_str(), 0755);
  Framework();
  Base64();
  Pngs();
  ModuleStates(argv[2]);
  CommandLines();
  DrawCalls();
  return 0;
}
