// Stand-in for Core Graphics, written from Apple's public documentation of the calls our sources
// make (geometry, colour spaces, bitmap contexts, images, the display cursor and mouse events), for
// the macOS checks: declarations, and the geometry makers Apple defines inline. Never shipped. The
// product is 64-bit only, so CGFloat is double.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef double CGFloat;

struct CGPoint {
  CGFloat x;
  CGFloat y;
};
typedef struct CGPoint CGPoint;

struct CGSize {
  CGFloat width;
  CGFloat height;
};
typedef struct CGSize CGSize;

struct CGRect {
  CGPoint origin;
  CGSize size;
};
typedef struct CGRect CGRect;

struct CGAffineTransform {
  CGFloat a, b, c, d;
  CGFloat tx, ty;
};
typedef struct CGAffineTransform CGAffineTransform;

// Inline, as Apple defines them: Core Graphics exports no such symbols.
static inline CGPoint CGPointMake(CGFloat x, CGFloat y) {
  CGPoint p;
  p.x = x;
  p.y = y;
  return p;
}
static inline CGSize CGSizeMake(CGFloat width, CGFloat height) {
  CGSize s;
  s.width = width;
  s.height = height;
  return s;
}
static inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
  CGRect r;
  r.origin.x = x;
  r.origin.y = y;
  r.size.width = width;
  r.size.height = height;
  return r;
}
CGFloat CGRectGetMinX(CGRect rect);
CGFloat CGRectGetMinY(CGRect rect);
CGFloat CGRectGetMaxX(CGRect rect);
CGFloat CGRectGetMaxY(CGRect rect);
bool CGRectIsEmpty(CGRect rect);
bool CGRectIsNull(CGRect rect);
CGRect CGRectApplyAffineTransform(CGRect rect, CGAffineTransform t);

CGAffineTransform CGAffineTransformMake(CGFloat a, CGFloat b, CGFloat c, CGFloat d, CGFloat tx, CGFloat ty);
CGAffineTransform CGAffineTransformMakeRotation(CGFloat angle);
CGAffineTransform CGAffineTransformConcat(CGAffineTransform t1, CGAffineTransform t2);

typedef unsigned short CGGlyph;

typedef struct CGColorSpace* CGColorSpaceRef;
typedef struct CGContext* CGContextRef;
typedef struct CGImage* CGImageRef;
typedef struct CGDataProvider* CGDataProviderRef;

CGColorSpaceRef CGColorSpaceCreateDeviceRGB(void);
CGColorSpaceRef CGColorSpaceCreateDeviceGray(void);
CGColorSpaceRef CGColorSpaceCreateWithPlatformColorSpace(const void* ref);
void CGColorSpaceRelease(CGColorSpaceRef space);

typedef uint32_t CGBitmapInfo;
enum { kCGBitmapByteOrder32Little = (2 << 12) };
enum CGImageAlphaInfo : uint32_t { kCGImageAlphaNone = 0, kCGImageAlphaNoneSkipFirst = 6 };
enum CGColorRenderingIntent : int32_t { kCGRenderingIntentDefault = 0 };
typedef enum CGColorRenderingIntent CGColorRenderingIntent;

typedef void (*CGDataProviderReleaseDataCallback)(void* info, const void* data, size_t size);
CGDataProviderRef CGDataProviderCreateWithData(void* info, const void* data, size_t size,
                                               CGDataProviderReleaseDataCallback releaseData);
void CGDataProviderRelease(CGDataProviderRef provider);

CGImageRef CGImageCreate(size_t width, size_t height, size_t bitsPerComponent, size_t bitsPerPixel,
                         size_t bytesPerRow, CGColorSpaceRef space, CGBitmapInfo bitmapInfo,
                         CGDataProviderRef provider, const CGFloat* decode, bool shouldInterpolate,
                         CGColorRenderingIntent intent);
void CGImageRelease(CGImageRef image);

CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent,
                                   size_t bytesPerRow, CGColorSpaceRef space, uint32_t bitmapInfo);
void CGContextRelease(CGContextRef c);
void CGContextFlush(CGContextRef c);
void CGContextDrawImage(CGContextRef c, CGRect rect, CGImageRef image);
typedef int32_t CGInterpolationQuality;
enum {
  kCGInterpolationDefault = 0,
  kCGInterpolationNone = 1,
  kCGInterpolationLow = 2,
  kCGInterpolationMedium = 4,
  kCGInterpolationHigh = 3,
};
void CGContextSetInterpolationQuality(CGContextRef c, CGInterpolationQuality quality);
void CGContextSetGrayFillColor(CGContextRef c, CGFloat gray, CGFloat alpha);
void CGContextSetGrayStrokeColor(CGContextRef c, CGFloat gray, CGFloat alpha);
void CGContextSetShouldAntialias(CGContextRef c, bool shouldAntialias);
void CGContextSetAllowsFontSmoothing(CGContextRef c, bool allowsFontSmoothing);
void CGContextSetShouldSmoothFonts(CGContextRef c, bool shouldSmoothFonts);
void CGContextTranslateCTM(CGContextRef c, CGFloat tx, CGFloat ty);
void CGContextConcatCTM(CGContextRef c, CGAffineTransform transform);
void CGContextSetLineWidth(CGContextRef c, CGFloat width);
enum CGTextDrawingMode : int32_t { kCGTextFillStroke = 2 };
typedef enum CGTextDrawingMode CGTextDrawingMode;
void CGContextSetTextDrawingMode(CGContextRef c, CGTextDrawingMode mode);

typedef uint32_t CGDirectDisplayID;
enum CGError : int32_t { kCGErrorSuccess = 0 };
typedef enum CGError CGError;
CGDirectDisplayID CGMainDisplayID(void);
CGColorSpaceRef CGDisplayCopyColorSpace(CGDirectDisplayID display);
CGError CGDisplayHideCursor(CGDirectDisplayID display);
CGError CGDisplayShowCursor(CGDirectDisplayID display);
CGError CGWarpMouseCursorPosition(CGPoint newCursorPosition);

typedef struct __CGEvent* CGEventRef;
typedef struct __CGEventSource* CGEventSourceRef;
CGEventRef CGEventCreate(CGEventSourceRef source);
CGPoint CGEventGetLocation(CGEventRef event);

#ifdef __cplusplus
}
#endif
