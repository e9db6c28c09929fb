// Text crossing between the engine's UTF-8 C strings and Cocoa. Objective-C++ only.
#pragma once

#import <Foundation/Foundation.h>

// Never nil, so the result can go straight to Cocoa setters that reject nil: null or malformed
// UTF-8 gives an empty string. Autoreleased.
NSString* ToNSString(const char* cStr);
