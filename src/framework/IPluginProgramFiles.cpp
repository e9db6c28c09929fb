// Program and bank files: the current preset or all preset slots in the "CcnK" container layout.
// Container fields are big-endian; an embedded state chunk keeps its own little-endian layout.
// Loaders never read past the file's bytes and treat non-finite floats as missing values.
#include "framework/IPlugin.h"

#include "base/StrBuf.h"
#include "framework/ByteChunk.h"
#include "framework/IParam.h"
#include "framework/IPreset.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {
constexpr int kNameBytes = 28;
constexpr int kProgramHeaderSize = 56;  // up to the chunk size or the first parameter value
constexpr int kBankHeaderSize = 156;
constexpr int kProgramChunkStart = 60;
constexpr int kBankChunkStart = 160;
constexpr int kProgramVersion = 1;
constexpr int kBankVersion = 2;

constexpr uint32_t FourCC(const char (&c)[5]) {
  return (uint32_t(uint8_t(c[0])) << 24) | (uint32_t(uint8_t(c[1])) << 16) | (uint32_t(uint8_t(c[2])) << 8) |
         uint32_t(uint8_t(c[3]));
}

constexpr uint32_t kContainerMagic = FourCC("CcnK");
constexpr uint32_t kProgramChunkMagic = FourCC("FPCh");
constexpr uint32_t kProgramParamsMagic = FourCC("FxCk");
constexpr uint32_t kBankChunkMagic = FourCC("FBCh");
constexpr uint32_t kBankParamsMagic = FourCC("FxBk");

void PutBE32(ByteChunk* c, uint32_t v) {
  unsigned char b[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
  c->AppendBytes(b, 4);
}

void PutBEFloat(ByteChunk* c, float f) {
  uint32_t v;
  std::memcpy(&v, &f, 4);
  PutBE32(c, v);
}

// Exactly 28 bytes: the name cut to fit, NUL-padded (no terminator when it fills the field).
void PutName(ByteChunk* c, const char* name) {
  char field[kNameBytes] = {};
  if (name) std::memcpy(field, name, strnlen(name, kNameBytes));
  c->AppendBytes(field, kNameBytes);
}

int ReadBE32(const ByteChunk& c, uint32_t* v, int pos) {
  unsigned char b[4];
  pos = c.ReadBytes(b, 4, pos);
  if (pos >= 0) *v = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | uint32_t(b[3]);
  return pos;
}

uint32_t BE32At(const ByteChunk& c, int pos) {
  uint32_t v = 0;
  ReadBE32(c, &v, pos);
  return v;
}

// Reads a normalized value. A non-finite one counts as missing (false) though the position still
// advances; finite ones are held to 0..1, as no writer stores anything else and values outside
// would put parameters below their range.
int ReadNormalized(const ByteChunk& c, double* n, bool* valid, int pos) {
  uint32_t v = 0;
  pos = ReadBE32(c, &v, pos);
  *valid = false;
  if (pos >= 0) {
    float value;
    std::memcpy(&value, &v, 4);
    if (std::isfinite(value)) {
      *n = value < 0.0f ? 0.0 : value > 1.0f ? 1.0 : static_cast<double>(value);
      *valid = true;
    }
  }
  return pos;
}

void ReadName(const ByteChunk& c, int pos, char (&name)[kNameBytes + 1]) {
  std::memset(name, 0, sizeof(name));
  c.ReadBytes(name, kNameBytes, pos);
}

const char* PathOf(const StrBuf* path) { return path && path->Get()[0] ? path->Get() : nullptr; }

bool WriteFile(const char* path, const ByteChunk& c) {
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  size_t n = static_cast<size_t>(c.Size());
  bool ok = n == 0 || std::fwrite(c.Data(), 1, n, f) == n;
  return std::fclose(f) == 0 && ok;
}

bool ReadFile(const char* path, ByteChunk* c) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  c->Clear();
  unsigned char block[16384];
  bool ok = true;
  size_t n;
  while ((n = std::fread(block, 1, sizeof(block), f)) > 0) {
    if (c->AppendBytes(block, static_cast<int>(n)) <= 0) {
      ok = false;
      break;
    }
  }
  ok = ok && !std::ferror(f);
  std::fclose(f);
  return ok;
}

// Sets each parameter from the normalized values stored from pos on; missing or non-finite values
// leave their parameter as it was.
void ApplyNormalizedValues(IPlugin* plug, const ByteChunk& c, int pos) {
  for (int i = 0; i < plug->GetParamCount() && pos >= 0; ++i) {
    double n = 0.0;
    bool valid = false;
    pos = ReadNormalized(c, &n, &valid, pos);
    if (valid) plug->GetParam(i)->SetNormalized(n);
  }
}

void PutProgramHeader(IPlugin* plug, ByteChunk* c, bool chunkForm, int byteSize, const char* name) {
  PutBE32(c, kContainerMagic);
  PutBE32(c, static_cast<uint32_t>(byteSize));
  PutBE32(c, chunkForm ? kProgramChunkMagic : kProgramParamsMagic);
  PutBE32(c, kProgramVersion);
  PutBE32(c, static_cast<uint32_t>(plug->GetUniqueId()));
  PutBE32(c, static_cast<uint32_t>(plug->GetEffectVersion(true)));
  PutBE32(c, static_cast<uint32_t>(plug->GetParamCount()));
  PutName(c, name);
}
}  // namespace

bool IPlugin::SaveProgramAsFXP(StrBuf* path) {
  const char* file = PathOf(path);
  if (!file) return false;

  ByteChunk out;
  IPreset* current = mPresets.Get(GetCurrentPresetIndex());
  const char* name = current ? current->mName : "";
  if (DoesStateChunks()) {
    ByteChunk state;
    InitChunkWithFrameworkVer(&state);
    SerializeState(&state);
    PutProgramHeader(this, &out, true, state.Size() + kProgramChunkStart, name);
    PutBE32(&out, static_cast<uint32_t>(state.Size()));
    out.AppendChunk(&state);
  } else {
    PutProgramHeader(this, &out, false, 0, name);
    for (int i = 0; i < GetParamCount(); ++i)
      PutBEFloat(&out, static_cast<float>(GetParam(i)->GetNormalized()));
  }
  return WriteFile(file, out);
}

bool IPlugin::SaveBankAsFXB(StrBuf* path) {
  const char* file = PathOf(path);
  if (!file) return false;

  ByteChunk out;
  bool chunkForm = DoesStateChunks();
  ByteChunk state;
  if (chunkForm) {
    InitChunkWithFrameworkVer(&state);
    SerializePresets(&state);
  }
  PutBE32(&out, kContainerMagic);
  PutBE32(&out, chunkForm ? static_cast<uint32_t>(state.Size() + kBankChunkStart) : 0u);
  PutBE32(&out, chunkForm ? kBankChunkMagic : kBankParamsMagic);
  PutBE32(&out, kBankVersion);
  PutBE32(&out, static_cast<uint32_t>(GetUniqueId()));
  PutBE32(&out, static_cast<uint32_t>(GetEffectVersion(true)));
  PutBE32(&out, static_cast<uint32_t>(GetPresetCount()));
  PutBE32(&out, static_cast<uint32_t>(GetCurrentPresetIndex()));
  unsigned char reserved[kBankHeaderSize - 32] = {};
  out.AppendBytes(reserved, sizeof(reserved));

  if (chunkForm) {
    PutBE32(&out, static_cast<uint32_t>(state.Size()));
    out.AppendChunk(&state);
  } else {
    int nParams = GetParamCount();
    for (int p = 0; p < GetPresetCount(); ++p) {
      IPreset* preset = mPresets.Get(p);
      PutProgramHeader(this, &out, false, 0, preset->mName);
      int pos = 0;
      for (int i = 0; i < nParams; ++i) {
        // Values past the end of the slot's state, or not finite, are written as 0.0.
        double v = 0.0;
        if (pos >= 0) pos = preset->mChunk.ReadValue(&v, pos);
        if (pos < 0 || !std::isfinite(v)) v = 0.0;
        PutBEFloat(&out, static_cast<float>(GetParam(i)->GetNormalized(v)));
      }
    }
  }
  return WriteFile(file, out);
}

bool IPlugin::LoadProgramFromFXP(StrBuf* path) {
  const char* file = PathOf(path);
  ByteChunk in;
  if (!file || !ReadFile(file, &in) || in.Size() < kProgramHeaderSize) return false;
  if (BE32At(in, 0) != kContainerMagic || BE32At(in, 12) != kProgramVersion ||
      static_cast<int>(BE32At(in, 16)) != GetUniqueId())
    return false;

  uint32_t form = BE32At(in, 8);
  if (form == kProgramChunkMagic && DoesStateChunks()) {
    int pos = kProgramChunkStart;
    GetFrameworkVerFromChunk(&in, &pos);
    // A cut-off or corrupt state is reported, not passed off as a loaded program, and whatever
    // part of it was applied is taken back.
    ByteChunk previous;
    SerializeState(&previous);
    if (pos < 0 || UnserializeState(&in, pos) < 0) {
      UnserializeState(&previous, 0);
      return false;
    }
  } else if (form == kProgramParamsMagic)
    ApplyNormalizedValues(this, in, kProgramHeaderSize);
  else
    return false;

  char name[kNameBytes + 1];
  ReadName(in, 28, name);
  ModifyCurrentPreset(name);
  RestorePreset(GetCurrentPresetIndex());
  InformHostOfProgramChange();
  return true;
}

bool IPlugin::LoadBankFromFXB(StrBuf* path) {
  const char* file = PathOf(path);
  ByteChunk in;
  if (!file || !ReadFile(file, &in) || in.Size() < 32) return false;
  if (BE32At(in, 0) != kContainerMagic || static_cast<int>(BE32At(in, 16)) != GetUniqueId()) return false;

  uint32_t form = BE32At(in, 8);
  if (form == kBankChunkMagic && DoesStateChunks()) {
    int pos = kBankChunkStart;
    GetFrameworkVerFromChunk(&in, &pos);
    if (pos >= 0) pos = UnserializePresets(&in, pos);
    InformHostOfProgramChange();
    return pos >= 0;
  }
  if (form != kBankParamsMagic) return false;

  int count = static_cast<int>(BE32At(in, 24));
  int currentFromFile = static_cast<int>(BE32At(in, 28));
  int nParams = GetParamCount();
  const int recordSize = kProgramHeaderSize + 4 * nParams;
  // Programs beyond the slots the plug-in has are ignored rather than piled into the last slot.
  int nLoad = count < GetPresetCount() ? count : GetPresetCount();
  int pos = kBankHeaderSize;
  for (int k = 0; k < nLoad; ++k, pos += recordSize) {
    if (pos > in.Size() - recordSize || BE32At(in, pos) != kContainerMagic ||
        BE32At(in, pos + 8) != kProgramParamsMagic || BE32At(in, pos + 12) != kProgramVersion ||
        static_cast<int>(BE32At(in, pos + 24)) != nParams)
      return false;

    // A slot whose stored state is unreadable still receives its program from the bank.
    if (!RestorePreset(k)) mCurrentPresetIdx = k;
    ApplyNormalizedValues(this, in, pos + kProgramHeaderSize);
    char name[kNameBytes + 1];
    ReadName(in, pos + 28, name);
    ModifyCurrentPreset(name);
  }
  RestorePreset(currentFromFile);
  InformHostOfProgramChange();
  return true;
}
