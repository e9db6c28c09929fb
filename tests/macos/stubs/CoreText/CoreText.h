// Stand-in for Core Text, written from Apple's public documentation of the font calls our sources
// make (creating and styling fonts, metrics, glyph lookup and drawing), for the macOS syntax check.
// Declarations only, never shipped.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <CoreGraphics/CoreGraphics.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef const struct __CTFont* CTFontRef;
typedef const struct __CTFontDescriptor* CTFontDescriptorRef;

typedef uint32_t CTFontSymbolicTraits;
enum { kCTFontItalicTrait = (1 << 0), kCTFontBoldTrait = (1 << 1) };

enum CTFontOrientation : uint32_t { kCTFontOrientationHorizontal = 1 };
typedef enum CTFontOrientation CTFontOrientation;

CTFontRef CTFontCreateWithName(CFStringRef name, CGFloat size, const CGAffineTransform* matrix);
CTFontRef CTFontCreateCopyWithAttributes(CTFontRef font, CGFloat size, const CGAffineTransform* matrix,
                                         CTFontDescriptorRef attributes);
CTFontRef CTFontCreateCopyWithSymbolicTraits(CTFontRef font, CGFloat size, const CGAffineTransform* matrix,
                                             CTFontSymbolicTraits symTraitValue,
                                             CTFontSymbolicTraits symTraitMask);
CFStringRef CTFontCopyFamilyName(CTFontRef font);
CTFontSymbolicTraits CTFontGetSymbolicTraits(CTFontRef font);
CGFloat CTFontGetSize(CTFontRef font);
CGFloat CTFontGetAscent(CTFontRef font);
CGFloat CTFontGetDescent(CTFontRef font);
CGFloat CTFontGetUnderlinePosition(CTFontRef font);
CGFloat CTFontGetUnderlineThickness(CTFontRef font);
CGRect CTFontGetBoundingBox(CTFontRef font);
bool CTFontGetGlyphsForCharacters(CTFontRef font, const UniChar characters[], CGGlyph glyphs[],
                                  CFIndex count);
double CTFontGetAdvancesForGlyphs(CTFontRef font, CTFontOrientation orientation, const CGGlyph glyphs[],
                                  CGSize* advances, CFIndex count);
CGRect CTFontGetBoundingRectsForGlyphs(CTFontRef font, CTFontOrientation orientation, const CGGlyph glyphs[],
                                       CGRect* boundingRects, CFIndex count);
void CTFontDrawGlyphs(CTFontRef font, const CGGlyph glyphs[], const CGPoint positions[], size_t count,
                      CGContextRef context);

#ifdef __cplusplus
}
#endif
