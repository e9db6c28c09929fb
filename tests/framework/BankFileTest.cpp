// Bank files: both forms field by field, round trips of every slot, rejections and hostile files.
#include "StateFileSupport.h"

#include "base/StrBuf.h"
#include "framework/ByteChunk.h"

#include <limits>
#include <random>

namespace {
FakePlugin::Options Bank(int nPresets, bool chunks = false) {
  FakePlugin::Options o;
  o.nPresets = nPresets;
  o.stateChunks = chunks;
  return o;
}

Bytes SaveBank(FakePlugin& plug, const std::string& name) {
  return SaveThroughFile(plug, &IPlugin::SaveBankAsFXB, name);
}

bool LoadBank(FakePlugin& plug, const Bytes& file, const std::string& name) {
  return LoadThroughFile(plug, &IPlugin::LoadBankFromFXB, file, name);
}

// Slots filled with random states named "Bank k"; returns each slot's values.
std::vector<std::vector<double>> FillSlots(FakePlugin& plug, int n, std::mt19937& rng) {
  std::vector<std::vector<double>> states;
  for (int k = 0; k < n; ++k) {
    plug.RandomizeParams(rng);
    states.push_back(plug.Values());
    plug.MakeDefaultPreset(("Bank " + std::to_string(k)).c_str(), 1);
  }
  return states;
}
}  // namespace

TEST(BankFile, OneSlotParameterBankIs280BytesFieldByField) {
  FakePlugin plug;
  std::mt19937 rng(12);
  auto states = FillSlots(plug, 1, rng);
  plug.RandomizeParams(rng);  // the bank takes the slot's values, not the live ones
  Bytes b = SaveBank(plug, "layout.fxb");
  ASSERT_EQ(b.size(), 280u);
  EXPECT_EQ(Text(b, 0, 4), "CcnK");
  EXPECT_EQ(BE32(b, 4), 0u);
  EXPECT_EQ(Text(b, 8, 4), "FxBk");
  EXPECT_EQ(BE32(b, 12), 2u);
  EXPECT_EQ(BE32(b, 16), static_cast<uint32_t>(FakePlugin::kUniqueId));
  EXPECT_EQ(BE32(b, 20), 10100u);
  EXPECT_EQ(BE32(b, 24), 1u);
  EXPECT_EQ(BE32(b, 28), 0u);
  EXPECT_EQ(Bytes(b.begin() + 32, b.begin() + 156), Bytes(124, 0));
  EXPECT_EQ(Text(b, 156, 4), "CcnK");
  EXPECT_EQ(BE32(b, 160), 0u);
  EXPECT_EQ(Text(b, 164, 4), "FxCk");
  EXPECT_EQ(BE32(b, 168), 1u);
  EXPECT_EQ(BE32(b, 172), static_cast<uint32_t>(FakePlugin::kUniqueId));
  EXPECT_EQ(BE32(b, 176), 10100u);
  EXPECT_EQ(BE32(b, 180), 17u);
  EXPECT_EQ(Text(b, 184, 28), NameField("Bank 0"));
  for (int i = 0; i < 17; ++i)
    EXPECT_EQ(BEFloat(b, 212 + 4 * i), static_cast<float>(plug.GetParam(i)->GetNormalized(states[0][i])))
        << i;
}

TEST(BankFile, SlotValuesPastTheirStateOrNotFiniteAreWrittenAsZero) {
  FakePlugin plug(Bank(2));
  ByteChunk partial;
  double v = 0.5;
  partial.AppendValue(&v);
  v = std::numeric_limits<double>::quiet_NaN();
  partial.AppendValue(&v);
  plug.MakePresetFromChunk("Partial", &partial);
  Bytes b = SaveBank(plug, "partial.fxb");
  ASSERT_EQ(b.size(), 156u + 2 * 124);
  EXPECT_EQ(BEFloat(b, 212), 0.5f);
  for (int i = 1; i < 17; ++i) {
    float zero = static_cast<float>(plug.GetParam(i)->GetNormalized(0.0));
    EXPECT_EQ(BEFloat(b, 212 + 4 * i), zero) << i;
    EXPECT_EQ(BEFloat(b, 156 + 124 + 56 + 4 * i), zero) << i;  // the uninitialised slot
  }
  EXPECT_EQ(Text(b, 156 + 124 + 28, 28), NameField("empty"));
}

TEST(BankFile, ChunkFormEmbedsThePresetList) {
  FakePlugin plug(Bank(2, true));
  std::mt19937 rng(13);
  FillSlots(plug, 1, rng);
  plug.SetCurrentPresetIndex(1);
  Bytes b = SaveBank(plug, "chunk.fxb");
  ByteChunk list;
  IPlugin::InitChunkWithFrameworkVer(&list);
  plug.SerializePresets(&list);
  ASSERT_EQ(b.size(), 160u + list.Size());
  EXPECT_EQ(Text(b, 0, 4), "CcnK");
  EXPECT_EQ(BE32(b, 4), 160u + list.Size());
  EXPECT_EQ(Text(b, 8, 4), "FBCh");
  EXPECT_EQ(BE32(b, 12), 2u);
  EXPECT_EQ(BE32(b, 24), 2u);
  EXPECT_EQ(BE32(b, 28), 1u);
  EXPECT_EQ(Bytes(b.begin() + 32, b.begin() + 156), Bytes(124, 0));
  EXPECT_EQ(BE32(b, 156), static_cast<uint32_t>(list.Size()));
  EXPECT_EQ(Bytes(b.begin() + 160, b.end()), Bytes(list.Data(), list.Data() + list.Size()));
}

TEST(BankFile, SaveThenLoadRoundTripsEverySlot) {
  std::mt19937 rng(23);
  for (bool chunks : {false, true}) {
    FakePlugin a(Bank(4, chunks));
    auto states = FillSlots(a, 3, rng);  // the fourth slot stays uninitialised
    ASSERT_TRUE(a.RestorePreset(2));
    Bytes file = SaveBank(a, "rt.fxb");

    FakePlugin b(Bank(4, chunks));
    b.RandomizeParams(rng);
    ASSERT_TRUE(LoadBank(b, file, "rt.fxb"));
    EXPECT_EQ(b.programChanges, 1);
    for (int k = 0; k < 3; ++k) EXPECT_STREQ(b.GetPresetName(k), a.GetPresetName(k)) << k;
    // A parameter bank selects the program it was saved with; a chunk bank keeps the plug-in's
    // current index and reloads that slot.
    int current = chunks ? 0 : 2;
    EXPECT_EQ(b.GetCurrentPresetIndex(), current);
    if (chunks) {
      EXPECT_EQ(b.Values(), states[current]);
    }
    Bytes again = SaveBank(b, "rt2.fxb");
    PutBE32(again, 28, 2);
    EXPECT_EQ(again, file) << (chunks ? "chunk form" : "parameter form");
    for (int k = 0; k < 3; ++k) {
      ASSERT_TRUE(b.RestorePreset(k));
      ASSERT_TRUE(a.RestorePreset(k));
      if (chunks)
        EXPECT_EQ(b.Values(), states[k]) << k;
      else
        ExpectValuesNear(b, a);
    }
  }
}

TEST(BankFile, MismatchesAreRejectedAndExtraProgramsIgnored) {
  std::mt19937 rng(33);
  FakePlugin a(Bank(3));
  auto states = FillSlots(a, 3, rng);
  Bytes good = SaveBank(a, "good.fxb");

  FakePlugin::Options otherId = Bank(3);
  otherId.uniqueId = 0x0BADF00D;
  FakePlugin foreign(otherId);
  std::vector<double> before = foreign.Values();
  EXPECT_FALSE(LoadBank(foreign, good, "id.fxb"));
  EXPECT_EQ(foreign.Values(), before);
  EXPECT_STREQ(foreign.GetPresetName(0), "empty");

  // A broken second record stops the load; the first program stays loaded.
  Bytes bad = good;
  PutBE32(bad, 156 + 124 + 24, 16);
  FakePlugin partial(Bank(3));
  EXPECT_FALSE(LoadBank(partial, bad, "record.fxb"));
  EXPECT_STREQ(partial.GetPresetName(0), "Bank 0");
  EXPECT_STREQ(partial.GetPresetName(1), "empty");

  // More programs than slots: the extra ones must not pile into the last slot.
  FakePlugin small(Bank(2));
  ASSERT_TRUE(LoadBank(small, good, "extra.fxb"));
  EXPECT_STREQ(small.GetPresetName(1), "Bank 1");
  ASSERT_TRUE(small.RestorePreset(1));
  ASSERT_TRUE(a.RestorePreset(1));
  ExpectValuesNear(small, a);

  // No programs: only the current program is selected.
  Bytes none(good.begin(), good.begin() + 156);
  PutBE32(none, 24, 0);
  PutBE32(none, 28, 0);
  FakePlugin c(Bank(3));
  c.MakeDefaultPreset("Only", 1);
  EXPECT_TRUE(LoadBank(c, none, "none.fxb"));
  EXPECT_STREQ(c.GetPresetName(0), "Only");

  FakePlugin chunky(Bank(3, true));
  FillSlots(chunky, 3, rng);
  FakePlugin plain(Bank(3));
  EXPECT_FALSE(LoadBank(plain, SaveBank(chunky, "chunky.fxb"), "chunky.fxb"));

  StrBuf empty("");
  EXPECT_FALSE(plain.LoadBankFromFXB(&empty));
  EXPECT_FALSE(plain.SaveBankAsFXB(&empty));
}

TEST(BankFile, TruncatedAndMutatedBanksLoadSafely) {
  std::mt19937 rng(43);
  for (bool chunks : {false, true}) {
    FakePlugin a(Bank(3, chunks));
    FillSlots(a, 2, rng);
    Bytes valid = SaveBank(a, "fuzz.fxb");

    for (size_t len = 0; len <= valid.size(); ++len) {
      FakePlugin b(Bank(3, chunks));
      bool ok = LoadBank(b, Bytes(valid.begin(), valid.begin() + len), "trunc.fxb");
      EXPECT_EQ(ok, len == valid.size()) << "length " << len << (chunks ? " chunk form" : "");
      EXPECT_TRUE(ParamsSane(b));
    }
    for (int iter = 0; iter < 1500; ++iter) {
      Bytes f = valid;
      for (int m = 1 + static_cast<int>(rng() % 4); m > 0; --m)
        f[rng() % f.size()] = static_cast<unsigned char>(rng());
      if (rng() % 4 == 0) f.resize(rng() % (f.size() + 1));
      FakePlugin b(Bank(3, chunks));
      LoadBank(b, f, "mut.fxb");
      EXPECT_TRUE(ParamsSane(b));
      for (int k = 0; k < 3; ++k) EXPECT_LE(std::strlen(b.GetPresetName(k)), 255u);
    }
  }
}
