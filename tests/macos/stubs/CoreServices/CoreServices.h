// Stand-in for the Core Services call our sources make (Gestalt, for the system version), written
// from Apple's public documentation, for the macOS syntax check. Never shipped.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
  gestaltSystemVersion = 0x73797376  // 'sysv'
};
OSErr Gestalt(OSType selector, SInt32* response);

#ifdef __cplusplus
}
#endif
