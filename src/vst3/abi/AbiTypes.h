// Scalar types, string buffers and the calling-convention macro shared by every VST 3 interface
// declaration in this folder. Layout-relevant only; no behaviour.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define VST3ABI_CALL __stdcall
#else
#define VST3ABI_CALL
#endif

namespace vst3abi {

using int8 = char;
using uint8 = uint8_t;
using int16 = int16_t;
using uint16 = uint16_t;
using int32 = int32_t;
using uint32 = uint32_t;
using int64 = int64_t;
using uint64 = uint64_t;

using TSize = int64;
using tresult = int32;
// One byte on the wire; a C++ bool would be allowed to differ.
using TBool = uint8;
using char8 = char;
using char16 = char16_t;
using TChar = char16;
using String128 = TChar[128];
using FIDString = const char8*;
using CString = const char8*;
using AttrID = const char8*;
using TUID = char[16];

using ParamID = uint32;
using ParamValue = double;
using UnitID = int32;
using ProgramListID = int32;
using MediaType = int32;
using BusDirection = int32;
using BusType = int32;
using IoMode = int32;
using KnobMode = int32;
using SpeakerArrangement = uint64;
using Speaker = uint64;
using Sample32 = float;
using Sample64 = double;
using SampleRate = double;
using TSamples = int64;
using TQuarterNotes = double;
using CtrlNumber = int16;
using UCoord = int32;
using NoteExpressionTypeID = uint32;
using NoteExpressionValue = double;

constexpr ParamID kNoParamId = 0xFFFFFFFFu;
constexpr ParamID kMinParamId = 0;
constexpr ParamID kMaxParamId = 0x7FFFFFFFu;

static_assert(sizeof(TBool) == 1 && sizeof(TChar) == 2 && sizeof(String128) == 256, "scalar sizes");
static_assert(sizeof(TUID) == 16 && sizeof(tresult) == 4 && sizeof(SpeakerArrangement) == 8, "scalar sizes");

}  // namespace vst3abi
