// The text entry's formatter; see CocoaFormatter.h. Manual reference counting (built with
// -fno-objc-arc).
#import "graphics/platform/mac/CocoaFormatter.h"

#include "graphics/platform/mac/CocoaMapping.h"

@implementation CocoaFormatter

- (void)setAcceptableCharacters:(const char*)pChars {
  filterCharacters = pChars;
}

- (void)setMaximumLength:(int)len {
  maxLength = len;
}

- (void)setMaximumValue:(int)value {
  maxValue = value;
}

- (NSString*)stringForObjectValue:(id)anObject {
  return [anObject isKindOfClass:[NSString class]] ? (NSString*)anObject : nil;
}

- (BOOL)getObjectValue:(id*)anObject forString:(NSString*)string errorDescription:(NSString**)error {
  if (anObject) *anObject = [[string copy] autorelease];
  return YES;
}

- (BOOL)isPartialStringValid:(NSString*)partialString
            newEditingString:(NSString**)newString
            errorDescription:(NSString**)error {
  return CocoaMapping::IsEntryTextValid([partialString UTF8String], filterCharacters, maxLength, maxValue)
             ? YES
             : NO;
}

@end
