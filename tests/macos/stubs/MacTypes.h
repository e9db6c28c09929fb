// Stand-in for the system's basic scalar types, written from Apple's public documentation for the
// macOS syntax check (scripts/macos-check.sh): only what our sources use. Never shipped.
#pragma once

#include <stdint.h>

typedef unsigned char Boolean;
typedef unsigned char UInt8;
typedef int16_t SInt16;
typedef int32_t SInt32;
typedef uint32_t UInt32;
typedef uint16_t UniChar;
typedef UInt32 FourCharCode;
typedef FourCharCode OSType;
typedef SInt16 OSErr;
typedef SInt32 OSStatus;

enum { noErr = 0 };
