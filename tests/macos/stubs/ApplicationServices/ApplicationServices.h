// Stand-in for the Application Services umbrella, written from Apple's public documentation, for
// the macOS syntax check: the frameworks it brings in, plus the ColorSync Manager profile calls,
// which exist for 32-bit code only. Never shipped.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <CoreGraphics/CoreGraphics.h>
#include <CoreServices/CoreServices.h>
#include <CoreText/CoreText.h>

#if !defined(__LP64__)
#ifdef __cplusplus
extern "C" {
#endif
typedef OSStatus CMError;
typedef struct OpaqueCMProfileRef* CMProfileRef;
CMError CMGetSystemProfile(CMProfileRef* prof);
CMError CMCloseProfile(CMProfileRef prof);
#ifdef __cplusplus
}
#endif
#endif
