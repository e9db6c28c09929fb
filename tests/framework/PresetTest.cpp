// Preset slots: making, restoring and modifying presets, preset lists and the blob dumps.
#include "StateFileSupport.h"

#include "base/Base64.h"
#include "framework/ByteChunk.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace {
std::string ReadText(const std::string& path) {
  std::ifstream f(path);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

std::string TempPath(const char* name) {
  return testing::TempDir() + "qv_preset_" + std::to_string(::getpid()) + "_" + name;
}

FakePlugin::Options Slots(int nPresets, int nParams = 17) {
  FakePlugin::Options o;
  o.nPresets = nPresets;
  o.nParams = nParams;
  return o;
}
}  // namespace

TEST(Preset, DefaultPresetsFillFreeSlotsWithTheCurrentState) {
  FakePlugin plug(Slots(3));
  EXPECT_STREQ(plug.GetPresetName(0), "empty");
  plug.MakeDefaultPreset("-", 1);
  EXPECT_STREQ(plug.GetPresetName(0), "-");
  plug.MakeDefaultPreset(nullptr, 5);  // more than remain: fills what is free
  EXPECT_STREQ(plug.GetPresetName(1), "Empty");
  EXPECT_STREQ(plug.GetPresetName(2), "Empty");
  EXPECT_STREQ(plug.GetPresetName(3), "");
  EXPECT_STREQ(plug.GetPresetName(-1), "");

  std::mt19937 rng(2);
  std::vector<double> defaults = plug.Values();
  plug.RandomizeParams(rng);
  EXPECT_TRUE(plug.RestorePreset(2));
  EXPECT_EQ(plug.Values(), defaults);
  EXPECT_EQ(plug.GetCurrentPresetIndex(), 2);
  EXPECT_EQ(plug.presetsChanged, 1);
}

TEST(Preset, MadePresetsStoreTheirValuesWithoutTouchingLiveOnes) {
  FakePlugin plug(Slots(3, 6));
  std::vector<double> live = plug.Values();
  // Kinds: 0 none, 1 double, 2 int, 3 enum, 4 shaped double, 5 bool.
  plug.MakePreset("Explicit", 0.5, 12.5, 7, 3, 250.0, 1);
  plug.MakePresetFromNamedParams("Named", 2, 2, -2, 4, 99.5);
  EXPECT_EQ(plug.Values(), live);

  EXPECT_TRUE(plug.RestorePreset("Explicit"));
  EXPECT_EQ(plug.Values(), (std::vector<double>{0.5, 12.5, 7.0, 3.0, 250.0, 1.0}));
  EXPECT_TRUE(plug.RestorePreset("Named"));
  std::vector<double> named = live;
  named[2] = -2.0;
  named[4] = 99.5;
  EXPECT_EQ(plug.Values(), named);

  ByteChunk c;
  double v = 3.0;
  for (int i = 0; i < 6; ++i) c.AppendValue(&v);
  plug.MakePresetFromChunk("Chunk", &c);
  EXPECT_TRUE(plug.RestorePreset("Chunk"));
  EXPECT_EQ(plug.GetParam(1)->GetValue(), 3.0);
  EXPECT_EQ(plug.GetParam(5)->GetValue(), 1.0);  // clamped into the bool's range
  EXPECT_FALSE(plug.RestorePreset("chunk"));
  EXPECT_FALSE(plug.RestorePreset(""));
  EXPECT_FALSE(plug.RestorePreset(static_cast<const char*>(nullptr)));

  // Every slot is taken: further presets are dropped.
  plug.MakePreset("Overflow", 0.0, 0.0, 0, 0, 1.0, 0);
  EXPECT_STREQ(plug.GetPresetName(0), "Explicit");
}

TEST(Preset, BlobsDecodeIntoExactlyTheGivenSize) {
  FakePlugin plug(Slots(4));
  plug.MakePresetFromBlob("three", "TWFu", 3);
  plug.MakePresetFromBlob("two", "TWFu", 2);
  plug.MakePresetFromBlob("padded", "TQ==", 3);
  plug.MakePresetFromBlob("negative", "TWFu", -1);  // ignored
  auto bytes = [&](int slot) {
    plug.SetCurrentPresetIndex(slot);
    std::string path = TempPath("blob");
    plug.DumpPresetBlob(path.c_str());
    std::string text = ReadText(path);
    std::remove(path.c_str());
    return text;
  };
  EXPECT_EQ(bytes(0), "MakePresetFromBlob(\"name\", \"TWFu\", 3);\n");
  EXPECT_EQ(bytes(1), "MakePresetFromBlob(\"name\", \"TWE=\", 2);\n");
  EXPECT_EQ(bytes(2), "MakePresetFromBlob(\"name\", \"TQAA\", 3);\n");
  EXPECT_STREQ(plug.GetPresetName(3), "empty");
}

TEST(Preset, RestoringAnEmptySlotMakesANumberedUserPreset) {
  FakePlugin plug(Slots(2));
  plug.MakePreset("user preset 1", 0.0, 1.0, 2, 1, 3.0, 1, 1.0, 2, 1, 3.0, 0, 1.0, 2, 1, 3.0, 1, 1.0);
  std::vector<double> live = plug.Values();
  EXPECT_TRUE(plug.RestorePreset(1));
  EXPECT_STREQ(plug.GetPresetName(1), "user preset 2");
  EXPECT_EQ(plug.GetCurrentPresetIndex(), 1);
  EXPECT_EQ(plug.Values(), live);  // the slot took the live state, not the other way round

  EXPECT_FALSE(plug.RestorePreset(5));
  EXPECT_FALSE(plug.RestorePreset(-1));
  EXPECT_EQ(plug.GetCurrentPresetIndex(), 1);

  // A slot whose state is unreadable reports failure and does not become current.
  FakePlugin bad(Slots(2));
  ByteChunk shortChunk;
  double v = 1.0;
  shortChunk.AppendValue(&v);
  bad.MakeDefaultPreset("ok", 1);
  bad.MakePresetFromChunk("short", &shortChunk);
  EXPECT_FALSE(bad.RestorePreset(1));
  EXPECT_EQ(bad.GetCurrentPresetIndex(), 0);
}

TEST(Preset, ModifyCurrentPresetStoresTheLiveStateAndRenamesOnlyWhenAsked) {
  FakePlugin plug(Slots(2));
  plug.MakeDefaultPreset("Init", 2);
  std::mt19937 rng(4);
  plug.RandomizeParams(rng);
  std::vector<double> edited = plug.Values();
  plug.ModifyCurrentPreset(nullptr);
  plug.ModifyCurrentPreset("");
  EXPECT_STREQ(plug.GetPresetName(0), "Init");
  plug.RestorePreset(1);
  EXPECT_TRUE(plug.RestorePreset(0));
  EXPECT_EQ(plug.Values(), edited);

  std::string longName(400, 'n');
  plug.ModifyCurrentPreset(longName.c_str());
  EXPECT_EQ(std::string(plug.GetPresetName(0)), std::string(255, 'n'));

  FakePlugin empty(Slots(1));
  empty.ModifyCurrentPreset("Renamed");
  EXPECT_STREQ(empty.GetPresetName(0), "Renamed");
  EXPECT_TRUE(empty.RestorePreset(0));  // still uninitialised: becomes a user preset
  EXPECT_STREQ(empty.GetPresetName(0), "user preset 1");
}

TEST(Preset, PruneKeepsTheOrderOfInitialisedSlots) {
  FakePlugin plug(Slots(5));
  plug.MakeDefaultPreset("A", 1);
  plug.MakeDefaultPreset("B", 1);
  plug.RestorePreset(3);
  plug.PruneUninitializedPresets();
  ASSERT_EQ(plug.GetPresetCount(), 3);
  EXPECT_STREQ(plug.GetPresetName(0), "A");
  EXPECT_STREQ(plug.GetPresetName(1), "B");
  EXPECT_STREQ(plug.GetPresetName(2), "user preset 1");
  FakePlugin fresh(Slots(2));
  fresh.EnsureDefaultPreset();
  EXPECT_STREQ(fresh.GetPresetName(1), "Empty");
}

TEST(Preset, PresetListsRoundTripNamesFlagsAndStates) {
  std::mt19937 rng(99);
  FakePlugin a(Slots(4));
  std::vector<std::vector<double>> states;
  for (int k = 0; k < 3; ++k) {
    a.RandomizeParams(rng);
    states.push_back(a.Values());
    a.MakeDefaultPreset(("Preset " + std::to_string(k) + (k == 1 ? "" : " \"quoted\"")).c_str(), 1);
  }
  a.SetCurrentPresetIndex(1);
  ByteChunk list;
  ASSERT_TRUE(a.SerializePresets(&list));

  FakePlugin b(Slots(4));
  b.RandomizeParams(rng);
  EXPECT_EQ(b.UnserializePresets(&list, 0), list.Size());
  for (int k = 0; k < 4; ++k) EXPECT_STREQ(b.GetPresetName(k), a.GetPresetName(k)) << k;
  // Current slot 0 of b was restored at the end: its state is the first preset's.
  EXPECT_EQ(b.Values(), states[0]);
  for (int k = 0; k < 3; ++k) {
    EXPECT_TRUE(b.RestorePreset(k));
    EXPECT_EQ(b.Values(), states[static_cast<size_t>(k)]) << k;
  }
  EXPECT_STREQ(b.GetPresetName(3), "empty");
}

TEST(Preset, CutOffListKeepsEachSlotsOwnName) {
  FakePlugin a(Slots(2));
  a.MakeDefaultPreset("First", 1);
  a.MakeDefaultPreset("Second", 1);
  ByteChunk list;
  a.SerializePresets(&list);
  ByteChunk cut;
  cut.AppendBytes(list.Data(), 4 + 5 + 1 + 136 + 6);  // inside the second name

  FakePlugin b(Slots(2));
  EXPECT_EQ(b.UnserializePresets(&cut, 0), -1);
  EXPECT_STREQ(b.GetPresetName(0), "First");
  EXPECT_STREQ(b.GetPresetName(1), "empty");
}

TEST(Preset, PresetListLoaderSurvivesTruncationAndMutation) {
  std::mt19937 rng(777);
  FakePlugin a(Slots(3));
  for (int k = 0; k < 3; ++k) {
    a.RandomizeParams(rng);
    a.MakeDefaultPreset(std::string(static_cast<size_t>(k * 20), 'x').c_str(), 1);
  }
  ByteChunk valid;
  a.SerializePresets(&valid);

  auto load = [](ByteChunk& c, int start) {
    FakePlugin b(Slots(3));
    int pos = b.UnserializePresets(&c, start);
    EXPECT_TRUE(pos == -1 || (pos >= 0 && pos <= c.Size())) << pos;
    for (int k = 0; k < 3; ++k) EXPECT_LE(std::strlen(b.GetPresetName(k)), 255u) << k;
    EXPECT_TRUE(ParamsSane(b));
    return pos;
  };

  for (int len = 0; len <= valid.Size(); ++len) {
    ByteChunk c;
    c.AppendBytes(valid.Data(), len);
    int pos = load(c, 0);
    EXPECT_EQ(pos, len == valid.Size() ? len : -1) << len;
  }
  for (int iter = 0; iter < 3000; ++iter) {
    ByteChunk c;
    c.AppendBytes(valid.Data(), valid.Size());
    for (int m = 1 + static_cast<int>(rng() % 4); m > 0; --m)
      c.Data()[rng() % static_cast<unsigned>(c.Size())] = static_cast<unsigned char>(rng());
    if (rng() % 3 == 0) c.Resize(static_cast<int>(rng() % static_cast<unsigned>(c.Size() + 1)));
    load(c, 0);
  }
}

TEST(Preset, DumpsRoundTripThroughTheBlobLoaderBeyondTheOldSizeLimit) {
  // 300 parameters make a 2400-byte chunk, beyond what a fixed 2048-character text could hold.
  FakePlugin a(Slots(2, 300));
  std::mt19937 rng(5);
  a.RandomizeParams(rng);
  a.MakeDefaultPreset("Big \"one\"", 1);
  a.RandomizeParams(rng);
  a.MakeDefaultPreset("Second", 1);

  std::string path = TempPath("bank");
  a.DumpBankBlob(path.c_str());
  std::string text = ReadText(path);
  std::remove(path.c_str());

  FakePlugin b(Slots(2, 300));
  std::istringstream lines(text);
  std::string line;
  int n = 0;
  while (std::getline(lines, line)) {
    size_t blobStart = line.find("\", \"") + 4;
    size_t blobEnd = line.find('"', blobStart);
    int size = std::stoi(line.substr(blobEnd + 3));
    EXPECT_EQ(size, 2400);
    b.MakePresetFromBlob("", line.substr(blobStart, blobEnd - blobStart).c_str(), size);
    ++n;
  }
  ASSERT_EQ(n, 2);
  EXPECT_NE(text.find("MakePresetFromBlob(\"Big \\\"one\\\"\", \""), std::string::npos);
  for (int k = 0; k < 2; ++k) {
    a.RestorePreset(k);
    b.RestorePreset(k);
    EXPECT_EQ(b.Values(), a.Values()) << k;
  }
}

TEST(Preset, SourceDumpWritesEachParameterByKind) {
  FakePlugin plug(Slots(1, 6));
  plug.MakePreset("Src", 0.25, -1.5, 4, 2, 7.0, 1);
  plug.RestorePreset(0);
  const char* names[] = {"kZero", "kGain", "kSteps", "kMode", "kTime", "kSwitch"};
  std::string path = TempPath("src");
  plug.DumpPresetSrcCode(path.c_str(), names);
  EXPECT_EQ(ReadText(path),
            "  MakePresetFromNamedParams(\"name\", 6,\n    kZero, 0.250000,\n    kGain, -1.500000,\n"
            "    kSteps, 4,\n    kMode, 2,\n    kTime, 7.000000,\n    kSwitch, true);\n");
  std::remove(path.c_str());
}

TEST(Preset, BlobLoaderSurvivesCutAndDamagedText) {
  FakePlugin a;
  std::mt19937 rng(6);
  a.RandomizeParams(rng);
  ByteChunk state;
  a.SerializeState(&state);
  const std::string valid = Base64Encode(state.Data(), state.Size());

  for (int iter = 0; iter < 2000; ++iter) {
    std::string text = valid.substr(0, rng() % (valid.size() + 1));
    for (int m = static_cast<int>(rng() % 4); m > 0 && !text.empty(); --m)
      text[rng() % text.size()] = static_cast<char>(rng());
    int size = static_cast<int>(rng() % 200);
    FakePlugin b;
    b.MakePresetFromBlob("blob", text.c_str(), size);
    bool restored = b.RestorePreset(0);
    // A slot shorter than the state cannot restore.
    if (size < 136) {
      EXPECT_FALSE(restored);
    }
    EXPECT_STREQ(b.GetPresetName(0), "blob");
    ASSERT_TRUE(ParamsSane(b));
  }
}
