// The text entry's formatter: rejects edits that leave the allowed characters, grow past the
// length limit or exceed the value limit, so the field never holds text the parameter cannot
// take. Objective-C++ only; manual reference counting.
#pragma once

#import <Foundation/Foundation.h>

#include "graphics/platform/mac/CocoaClassNames.h"

@interface CocoaFormatter : NSFormatter {
  const char* filterCharacters;  // static text, not owned; null accepts any character
  int maxLength;                 // UTF-16 units; 0 = no limit
  int maxValue;                  // 0 = no limit
}
- (void)setAcceptableCharacters:(const char*)pChars;
- (void)setMaximumLength:(int)len;
- (void)setMaximumValue:(int)value;
@end
