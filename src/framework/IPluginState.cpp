// The plug-in's state chunk (its plain parameter values as little-endian doubles) and the preset
// slots built on it: making, restoring and listing presets, and the developer's source dumps.
#include "framework/IPlugin.h"

#include "base/Base64.h"
#include "base/StrBuf.h"
#include "base/Trace.h"
#include "framework/ByteChunk.h"
#include "framework/IParam.h"
#include "framework/IPreset.h"

#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {
constexpr int32_t kFrameworkMagic = 0x70666674;
constexpr int32_t kFrameworkVersion = 0x00010000;
// Marks a parameter that a named-parameter preset leaves at its current value.
constexpr double kUnsetParamValue = 99.99e-9;
constexpr const char* kUserPresetName = "user preset";

// Reads the next variadic value the way the preset's author passed it: whole-number kinds as int.
double NextPresetArg(const IParam* param, va_list* args) {
  switch (param ? param->GetType() : IParam::kParamDouble) {
    case IParam::kParamBool:
    case IParam::kParamInt:
    case IParam::kParamEnum:
      return static_cast<double>(va_arg(*args, int));
    default:
      return va_arg(*args, double);
  }
}

// Names end up inside C string literals in the dumps.
std::string QuotedLiteralBody(const char* text) {
  std::string out;
  for (const char* p = text; p && *p; ++p) {
    if (*p == '"' || *p == '\\') out += '\\';
    if (*p == '\n') {
      out += "\\n";
      continue;
    }
    out += *p;
  }
  return out;
}

// The Base64 text grows with the chunk rather than being cut at a fixed length.
void WriteBlob(FILE* f, const ByteChunk& chunk) {
  std::string blob = Base64Encode(chunk.Data(), chunk.Size());
  std::fprintf(f, "%s\", %i);\n", blob.c_str(), chunk.Size());
}
}  // namespace

bool IPlugin::SerializeParams(ByteChunk* chunk) {
  QV_TRACE("%d", GetParamCount());
  if (!chunk) return false;
  RecursiveMutexLock lock(&mMutex);
  for (int i = 0; i < GetParamCount(); ++i) {
    double v = GetParam(i)->GetValue();
    if (chunk->AppendValue(&v) <= 0) return false;
  }
  return true;
}

int IPlugin::UnserializeParams(ByteChunk* chunk, int startPos) {
  QV_TRACE("%d", startPos);
  RecursiveMutexLock lock(&mMutex);
  int pos = chunk ? startPos : -1;
  for (int i = 0; i < GetParamCount() && pos >= 0; ++i) {
    double v = 0.0;
    pos = chunk->ReadValue(&v, pos);
    // A non-finite value is as good as missing: it must never reach a parameter or the DSP.
    if (pos < 0 || !std::isfinite(v)) {
      v = 0.0;
      pos = -1;
    }
    GetParam(i)->SetValue(v);
  }
  OnParamReset();
  return pos;
}

bool IPlugin::CheckParams(ByteChunk* chunk, int startPos) const {
  int pos = chunk ? startPos : -1;
  for (int i = 0; i < GetParamCount() && pos >= 0; ++i) {
    double v = 0.0;
    pos = chunk->ReadValue(&v, pos);
    if (pos >= 0 && !std::isfinite(v)) return false;
  }
  return pos >= 0;
}

bool IPlugin::CompareState(const unsigned char* incomingState, int startPos) {
  if (!incomingState && GetParamCount() > 0) return false;
  for (int i = 0; i < GetParamCount(); ++i) {
    double stored;
    std::memcpy(&stored, incomingState + (static_cast<size_t>(startPos) + i) * sizeof(double),
                sizeof(double));
    float diff = static_cast<float>(GetParam(i)->GetValue()) - static_cast<float>(stored);
    if (!(std::fabs(static_cast<double>(diff)) < 0.00001)) return false;
  }
  return true;
}

void IPlugin::InitChunkWithFrameworkVer(ByteChunk* chunk) {
  if (!chunk) return;
  chunk->Clear();
  chunk->AppendValue(&kFrameworkMagic);
  chunk->AppendValue(&kFrameworkVersion);
}

int IPlugin::GetFrameworkVerFromChunk(ByteChunk* chunk, int* pos) {
  if (!chunk || !pos) return 0;
  int32_t magic = 0;
  int32_t version = 0;
  int p = chunk->ReadValue(&magic, *pos);
  if (p < 0 || magic != kFrameworkMagic) return 0;
  p = chunk->ReadValue(&version, p);
  if (p < 0) {
    *pos = -1;
    return 0;
  }
  *pos = p;
  return version;
}

// ---- Making presets ------------------------------------------------------------------------------

namespace {
// Takes the first free slot for a new preset: marked initialized, named and with an empty chunk.
// Null when every slot is taken.
IPreset* ClaimFreePreset(PtrList<IPreset>& presets, const char* name) {
  for (int i = 0; i < presets.GetSize(); ++i) {
    IPreset* preset = presets.Get(i);
    if (!preset->mInitialized) {
      preset->mInitialized = true;
      preset->SetName(name);
      preset->mChunk.Clear();
      return preset;
    }
  }
  return nullptr;
}
}  // namespace

void IPlugin::MakeDefaultPreset(const char* name, int nPresets) {
  for (int n = 0; n < nPresets; ++n) {
    IPreset* preset = ClaimFreePreset(mPresets, name ? name : "Empty");
    if (!preset) return;
    SerializeState(&preset->mChunk);
  }
}

void IPlugin::MakePreset(const char* name, ...) {
  IPreset* preset = ClaimFreePreset(mPresets, name);
  if (!preset) return;
  va_list args;
  va_start(args, name);
  for (int i = 0; i < GetParamCount(); ++i) {
    double v = NextPresetArg(GetParam(i), &args);
    preset->mChunk.AppendValue(&v);
  }
  va_end(args);
}

void IPlugin::MakePresetFromNamedParams(const char* name, int nParamsNamed, ...) {
  IPreset* preset = ClaimFreePreset(mPresets, name);
  if (!preset) return;

  int n = GetParamCount();
  std::vector<double> values(static_cast<size_t>(n), kUnsetParamValue);
  va_list args;
  va_start(args, nParamsNamed);
  for (int k = 0; k < nParamsNamed; ++k) {
    int idx = va_arg(args, int);
    double v = NextPresetArg(GetParam(idx), &args);
    if (idx >= 0 && idx < n) values[static_cast<size_t>(idx)] = v;
  }
  va_end(args);

  for (int i = 0; i < n; ++i) {
    double v = values[static_cast<size_t>(i)] == kUnsetParamValue ? GetParam(i)->GetValue()
                                                                  : values[static_cast<size_t>(i)];
    preset->mChunk.AppendValue(&v);
  }
}

void IPlugin::MakePresetFromChunk(const char* name, ByteChunk* chunk) {
  IPreset* preset = ClaimFreePreset(mPresets, name);
  if (preset) preset->mChunk.AppendChunk(chunk);
}

void IPlugin::MakePresetFromBlob(const char* name, const char* blob, int sizeOfChunk) {
  if (sizeOfChunk < 0) return;
  ByteChunk decoded;
  if (decoded.Resize(sizeOfChunk) != sizeOfChunk) return;
  if (sizeOfChunk > 0) Base64Decode(blob, -1, decoded.Data(), sizeOfChunk);
  MakePresetFromChunk(name, &decoded);
}

void IPlugin::EnsureDefaultPreset() { MakeDefaultPreset("Empty", GetPresetCount()); }

void IPlugin::PruneUninitializedPresets() {
  for (int i = GetPresetCount() - 1; i >= 0; --i)
    if (!mPresets.Get(i)->mInitialized) mPresets.Delete(i, true);
}

// ---- Selecting and storing presets -----------------------------------------------------------------

bool IPlugin::RestorePreset(int idx) {
  QV_TRACE("%d", idx);
  IPreset* preset = mPresets.Get(idx);
  if (!preset) return false;

  bool restored;
  if (!preset->mInitialized) {
    preset->mInitialized = true;
    int nUser = 0;
    for (int i = 0; i < GetPresetCount(); ++i)
      if (std::strstr(mPresets.Get(i)->mName, kUserPresetName)) ++nUser;
    char name[IPreset::kMaxNameLen + 1];
    std::snprintf(name, sizeof(name), "%s %d", kUserPresetName, nUser + 1);
    preset->SetName(name);
    preset->mChunk.Clear();
    restored = SerializeState(&preset->mChunk);
  } else {
    restored = UnserializeState(&preset->mChunk, 0) > 0;
  }

  if (restored) {
    mCurrentPresetIdx = idx;
    PresetsChangedByHost();
    RedrawParamControls();
  }
  return restored;
}

bool IPlugin::RestorePreset(const char* name) {
  if (!name || !*name) return false;
  for (int i = 0; i < GetPresetCount(); ++i)
    if (std::strcmp(mPresets.Get(i)->mName, name) == 0) return RestorePreset(i);
  return false;
}

const char* IPlugin::GetPresetName(int idx) {
  IPreset* preset = mPresets.Get(idx);
  return preset ? preset->mName : "";
}

void IPlugin::ModifyCurrentPreset(const char* name) {
  IPreset* preset = mPresets.Get(mCurrentPresetIdx);
  if (!preset) return;
  preset->mChunk.Clear();
  SerializeState(&preset->mChunk);
  if (name && *name) preset->SetName(name);
}

// ---- Preset lists ----------------------------------------------------------------------------------

bool IPlugin::SerializePresets(ByteChunk* chunk) {
  if (!chunk) return false;
  for (int i = 0; i < GetPresetCount(); ++i) {
    IPreset* preset = mPresets.Get(i);
    if (chunk->AppendString(preset->mName) <= 0 || chunk->AppendBool(preset->mInitialized) <= 0) return false;
    if (preset->mInitialized && chunk->AppendChunk(&preset->mChunk) <= 0) return false;
  }
  return true;
}

int IPlugin::UnserializePresets(ByteChunk* chunk, int startPos) {
  int pos = chunk ? startPos : -1;
  StrBuf name;
  for (int i = 0; i < GetPresetCount() && pos >= 0; ++i) {
    IPreset* preset = mPresets.Get(i);
    pos = chunk->ReadString(&name, pos);
    // A name cut off by the end of the data would otherwise carry the previous slot's name over.
    if (pos >= 0 && pos <= chunk->Size()) preset->SetName(name.Get());
    pos = chunk->ReadBool(&preset->mInitialized, pos);
    if (pos >= 0 && preset->mInitialized) {
      pos = UnserializeState(chunk, pos);
      if (pos > 0) {
        preset->mChunk.Clear();
        SerializeState(&preset->mChunk);
      }
    }
  }
  RestorePreset(mCurrentPresetIdx);
  return pos;
}

// ---- Developer dumps -------------------------------------------------------------------------------

void IPlugin::DumpPresetSrcCode(const char* path, const char** paramNames) {
  if (!path) return;
  FILE* f = std::fopen(path, "w");
  if (!f) return;
  int n = GetParamCount();
  // The preset's name is left as a placeholder for the developer to fill in.
  std::fprintf(f, "  MakePresetFromNamedParams(\"name\", %d", n);
  for (int i = 0; i < n; ++i) {
    const IParam* param = GetParam(i);
    char value[64];
    switch (param->GetType()) {
      case IParam::kParamBool:
        std::snprintf(value, sizeof(value), "%s", param->GetValue() >= 0.5 ? "true" : "false");
        break;
      case IParam::kParamInt:
      case IParam::kParamEnum:
        std::snprintf(value, sizeof(value), "%d", IParam::TruncToInt(param->GetValue()));
        break;
      default:
        std::snprintf(value, sizeof(value), "%.6f", param->GetValue());
        break;
    }
    // Without a name table the index itself is a valid argument.
    if (paramNames && paramNames[i])
      std::fprintf(f, ",\n    %s, %s", paramNames[i], value);
    else
      std::fprintf(f, ",\n    %d, %s", i, value);
  }
  std::fprintf(f, ");\n");
  std::fclose(f);
}

void IPlugin::DumpPresetBlob(const char* path) {
  IPreset* preset = mPresets.Get(mCurrentPresetIdx);
  if (!path || !preset) return;
  FILE* f = std::fopen(path, "w");
  if (!f) return;
  // As in the source dump, the name is a placeholder.
  std::fprintf(f, "MakePresetFromBlob(\"name\", \"");
  WriteBlob(f, preset->mChunk);
  std::fclose(f);
}

void IPlugin::DumpBankBlob(const char* path) {
  if (!path) return;
  FILE* f = std::fopen(path, "w");
  if (!f) return;
  for (int i = 0; i < GetPresetCount(); ++i) {
    const IPreset* preset = mPresets.Get(i);
    std::fprintf(f, "MakePresetFromBlob(\"%s\", \"", QuotedLiteralBody(preset->mName).c_str());
    WriteBlob(f, preset->mChunk);
  }
  std::fclose(f);
}
