// Program files: both forms field by field, round trips, rejections and hostile files.
#include "StateFileSupport.h"

#include "base/StrBuf.h"
#include "framework/ByteChunk.h"

#include <limits>
#include <random>

namespace {
FakePlugin::Options ChunkForm() {
  FakePlugin::Options o;
  o.stateChunks = true;
  return o;
}

Bytes SaveProgram(FakePlugin& plug, const std::string& name) {
  return SaveThroughFile(plug, &IPlugin::SaveProgramAsFXP, name);
}

bool LoadProgram(FakePlugin& plug, const Bytes& file, const std::string& name) {
  return LoadThroughFile(plug, &IPlugin::LoadProgramFromFXP, file, name);
}
}  // namespace

TEST(ProgramFile, ParameterFormIs124BytesFieldByField) {
  FakePlugin plug;
  std::mt19937 rng(21);
  plug.RandomizeParams(rng);
  plug.MakeDefaultPreset("Warm Glue", 1);
  Bytes b = SaveProgram(plug, "layout.fxp");
  ASSERT_EQ(b.size(), 124u);
  EXPECT_EQ(Text(b, 0, 4), "CcnK");
  EXPECT_EQ(BE32(b, 4), 0u);
  EXPECT_EQ(Text(b, 8, 4), "FxCk");
  EXPECT_EQ(BE32(b, 12), 1u);
  EXPECT_EQ(BE32(b, 16), static_cast<uint32_t>(FakePlugin::kUniqueId));
  EXPECT_EQ(BE32(b, 20), 10100u);
  EXPECT_EQ(BE32(b, 24), 17u);
  EXPECT_EQ(Text(b, 28, 28), NameField("Warm Glue"));
  for (int i = 0; i < 17; ++i)
    EXPECT_EQ(BEFloat(b, 56 + 4 * i), static_cast<float>(plug.GetParam(i)->GetNormalized())) << i;

  // Without a valid current slot the name field is blank.
  plug.SetCurrentPresetIndex(3);
  Bytes blank = SaveProgram(plug, "blank.fxp");
  EXPECT_EQ(Text(blank, 28, 28), std::string(28, '\0'));
}

TEST(ProgramFile, ChunkFormEmbedsHeaderAndState) {
  FakePlugin plug(ChunkForm());
  plug.MakeDefaultPreset("Chunky", 1);
  Bytes b = SaveProgram(plug, "chunk.fxp");
  ASSERT_EQ(b.size(), 60u + 8 + 136);
  EXPECT_EQ(Text(b, 0, 4), "CcnK");
  EXPECT_EQ(BE32(b, 4), 144u + 60);
  EXPECT_EQ(Text(b, 8, 4), "FPCh");
  EXPECT_EQ(BE32(b, 12), 1u);
  EXPECT_EQ(BE32(b, 24), 17u);
  EXPECT_EQ(Text(b, 28, 28), NameField("Chunky"));
  EXPECT_EQ(BE32(b, 56), 144u);
  EXPECT_EQ(Text(b, 60, 8), std::string("tffp\0\0\1\0", 8));
  ByteChunk state;
  plug.SerializeState(&state);
  EXPECT_EQ(Bytes(b.begin() + 68, b.end()), Bytes(state.Data(), state.Data() + state.Size()));
}

TEST(ProgramFile, SaveThenLoadRoundTripsBothForms) {
  std::mt19937 rng(31);
  for (bool chunks : {false, true}) {
    for (int round = 0; round < 20; ++round) {
      FakePlugin::Options o;
      o.stateChunks = chunks;
      FakePlugin a(o), b(o);
      a.RandomizeParams(rng);
      a.MakeDefaultPreset(("Program " + std::to_string(round)).c_str(), 1);
      b.MakeDefaultPreset("Before", 1);
      Bytes file = SaveProgram(a, "rt.fxp");
      ASSERT_TRUE(LoadProgram(b, file, "rt.fxp"));
      if (chunks)
        EXPECT_EQ(b.Values(), a.Values());
      else
        ExpectValuesNear(b, a);
      EXPECT_STREQ(b.GetPresetName(0), a.GetPresetName(0));
      EXPECT_EQ(b.programChanges, 1);
      // The slot now holds the loaded program, and writing it again gives the same file.
      b.RandomizeParams(rng);
      b.RestorePreset(0);
      EXPECT_EQ(SaveProgram(b, "rt2.fxp"), file);
    }
  }
}

TEST(ProgramFile, TwentyEightCharacterNamesFillTheFieldAndLongerOnesAreCut) {
  FakePlugin a(FakePlugin::Options{17, 2, false, FakePlugin::kUniqueId});
  std::string exact(28, 'e');
  a.MakeDefaultPreset(exact.c_str(), 1);
  a.MakeDefaultPreset(std::string(40, 'L').c_str(), 1);
  Bytes file = SaveProgram(a, "name.fxp");
  EXPECT_EQ(Text(file, 28, 28), exact);

  FakePlugin b;
  b.MakeDefaultPreset("Slot", 1);
  ASSERT_TRUE(LoadProgram(b, file, "name.fxp"));
  EXPECT_EQ(std::string(b.GetPresetName(0)), exact);

  a.SetCurrentPresetIndex(1);
  Bytes cut = SaveProgram(a, "cut.fxp");
  EXPECT_EQ(Text(cut, 28, 28), std::string(28, 'L'));
  EXPECT_EQ(BE32(cut, 56), BE32(file, 56));  // values start right after the field

  // An empty name leaves the slot's own name.
  PutBE32(file, 28, 0);
  FakePlugin c;
  c.MakeDefaultPreset("Kept", 1);
  ASSERT_TRUE(LoadProgram(c, file, "noname.fxp"));
  EXPECT_STREQ(c.GetPresetName(0), "Kept");
}

TEST(ProgramFile, MismatchedFilesAreRejectedWithoutTouchingParameters) {
  FakePlugin a;
  std::mt19937 rng(41);
  a.RandomizeParams(rng);
  Bytes good = SaveProgram(a, "good.fxp");

  auto rejects = [&](Bytes file, FakePlugin::Options o, const char* what) {
    FakePlugin b(o);
    std::vector<double> before = b.Values();
    EXPECT_FALSE(LoadProgram(b, file, "bad.fxp")) << what;
    EXPECT_EQ(b.Values(), before) << what;
    EXPECT_EQ(b.programChanges, 0) << what;
  };
  FakePlugin::Options plain;
  FakePlugin::Options otherId;
  otherId.uniqueId = 0x12345678;
  rejects(good, otherId, "plug-in id");
  Bytes f = good;
  f[0] = 'X';
  rejects(f, plain, "container magic");
  f = good;
  PutBE32(f, 12, 2);
  rejects(f, plain, "format version");
  f = good;
  std::memcpy(&f[8], "FxBk", 4);
  rejects(f, plain, "form");
  rejects(Bytes(good.begin(), good.begin() + 55), plain, "short header");

  FakePlugin chunky(ChunkForm());
  rejects(SaveProgram(chunky, "chunky.fxp"), plain, "chunk form into a parameter plug-in");

  FakePlugin b;
  StrBuf empty("");
  EXPECT_FALSE(b.LoadProgramFromFXP(&empty));
  EXPECT_FALSE(b.SaveProgramAsFXP(&empty));
  StrBuf missing(ScratchPath("does/not/exist.fxp").c_str());
  EXPECT_FALSE(b.LoadProgramFromFXP(&missing));
  EXPECT_FALSE(b.SaveProgramAsFXP(&missing));
}

TEST(ProgramFile, ShortOrNonFiniteValuesLeaveParametersAlone) {
  FakePlugin a;
  std::mt19937 rng(51);
  a.RandomizeParams(rng);
  Bytes file = SaveProgram(a, "vals.fxp");
  PutBEFloat(file, 56 + 4 * 3, std::numeric_limits<float>::quiet_NaN());
  PutBEFloat(file, 56 + 4 * 4, std::numeric_limits<float>::infinity());
  PutBEFloat(file, 56 + 4 * 1, -3.0f);  // held to 0..1: the minimum, not below it
  file.resize(56 + 4 * 10 + 2);

  FakePlugin b;
  std::vector<double> before = b.Values();
  ASSERT_TRUE(LoadProgram(b, file, "vals.fxp"));
  EXPECT_EQ(b.GetParam(1)->GetValue(), b.GetParam(1)->GetMin());
  EXPECT_EQ(b.GetParam(3)->GetValue(), before[3]);
  EXPECT_EQ(b.GetParam(4)->GetValue(), before[4]);
  EXPECT_EQ(b.GetParam(2)->GetValue(), a.GetParam(2)->GetValue());
  for (int i = 10; i < 17; ++i) EXPECT_EQ(b.GetParam(i)->GetValue(), before[i]) << i;
}

TEST(ProgramFile, TruncatedAndMutatedFilesLoadSafely) {
  std::mt19937 rng(61);
  for (bool chunks : {false, true}) {
    FakePlugin::Options o;
    o.stateChunks = chunks;
    FakePlugin a(o);
    a.RandomizeParams(rng);
    a.MakeDefaultPreset("Source", 1);
    Bytes valid = SaveProgram(a, "fuzz.fxp");

    for (size_t len = 0; len <= valid.size(); ++len) {
      FakePlugin b(o);
      bool ok = LoadProgram(b, Bytes(valid.begin(), valid.begin() + len), "trunc.fxp");
      // Parameter files load whatever values they hold; a cut-off state chunk is a failure.
      bool expected = chunks ? len == valid.size() : len >= 56;
      EXPECT_EQ(ok, expected) << "length " << len << (chunks ? " chunk form" : "");
      if (chunks && !ok) {
        EXPECT_EQ(b.Values(), FakePlugin(o).Values()) << "rejected state left applied";
      }
      EXPECT_TRUE(ParamsSane(b));
    }
    for (int iter = 0; iter < 1500; ++iter) {
      Bytes f = valid;
      for (int m = 1 + static_cast<int>(rng() % 4); m > 0; --m)
        f[rng() % f.size()] = static_cast<unsigned char>(rng());
      if (rng() % 4 == 0) f.resize(rng() % (f.size() + 1));
      FakePlugin b(o);
      LoadProgram(b, f, "mut.fxp");
      EXPECT_TRUE(ParamsSane(b));
      EXPECT_LE(std::strlen(b.GetPresetName(0)), 28u);
    }
  }
}
