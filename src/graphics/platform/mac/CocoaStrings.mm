// Text crossing between the engine's UTF-8 C strings and Cocoa. Manual reference counting.
#import "graphics/platform/mac/CocoaStrings.h"

NSString* ToNSString(const char* cStr) {
  NSString* str = cStr ? [NSString stringWithUTF8String:cStr] : nil;
  return str ? str : @"";
}
