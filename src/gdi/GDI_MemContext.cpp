// Memory drawing contexts over a plain heap frame buffer; the same on every platform, since the
// window bridge presents the buffer itself.
#include "gdi/GDI_MemContext.h"
#include "gdi/GDI_ContextImpl.h"

#include <cstdlib>
#include <new>

namespace {
// Larger buffers than this are refused rather than risking size overflow downstream.
constexpr int kMaxSide = 32768;
constexpr int64_t kMaxPixels = int64_t(1) << 28;

// A context setting, or its zero value without a context.
template <class T>
T Field(HDC ctx, T GDI_Context::*field) {
  return ctx ? ctx->*field : T();
}

// Stores a context setting and returns the previous one (zero without a context).
template <class T>
T Exchange(HDC ctx, T GDI_Context::*field, T value) {
  if (!ctx) return T();
  const T old = ctx->*field;
  ctx->*field = value;
  return old;
}
}  // namespace

RECT GDI_Context::DrawableRect() const {
  const RECT whole = {0, 0, width, height};
  return hasClip ? GDI_IntersectRect(whole, clip) : whole;
}

HDC GDI_CreateMemContext(int w, int h) {
  if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide || int64_t(w) * h > kMaxPixels) return nullptr;
  GDI_Context* ctx = new (std::nothrow) GDI_Context;
  if (!ctx) return nullptr;
  ctx->pixels = static_cast<uint32_t*>(std::calloc(size_t(w) * size_t(h), sizeof(uint32_t)));
  if (!ctx->pixels) {
    delete ctx;
    return nullptr;
  }
  ctx->width = w;
  ctx->height = h;
  return ctx;
}

void* GDI_GetCtxFrameBuffer(HDC ctx) { return ctx ? ctx->pixels : nullptr; }

void GDI_DeleteGfxContext(HDC ctx) {
  if (!ctx) return;
  std::free(ctx->pixels);
  delete ctx;
}

int GDI_GetCtxWidth(HDC ctx) { return ctx ? ctx->width : 0; }

int GDI_GetCtxHeight(HDC ctx) { return ctx ? ctx->height : 0; }

HFONT GDI_SelectFont(HDC ctx, HFONT font) { return Exchange(ctx, &GDI_Context::font, font); }

HFONT GDI_GetCurrentFont(HDC ctx) { return Field(ctx, &GDI_Context::font); }

GDI_COLOR GDI_SetTextColor(HDC ctx, GDI_COLOR colour) {
  return Exchange(ctx, &GDI_Context::textColor, colour & 0xFFFFFF);
}

GDI_COLOR GDI_GetTextColor(HDC ctx) { return Field(ctx, &GDI_Context::textColor); }

GDI_COLOR GDI_SetBkColor(HDC ctx, GDI_COLOR colour) {
  return Exchange(ctx, &GDI_Context::bkColor, colour & 0xFFFFFF);
}

GDI_COLOR GDI_GetBkColor(HDC ctx) { return Field(ctx, &GDI_Context::bkColor); }

int GDI_SetBkMode(HDC ctx, int mode) {
  // Unknown modes leave the context as it is.
  if (mode != GDI_TRANSPARENT && mode != GDI_OPAQUE) return Field(ctx, &GDI_Context::bkMode);
  return Exchange(ctx, &GDI_Context::bkMode, mode);
}

int GDI_GetBkMode(HDC ctx) { return Field(ctx, &GDI_Context::bkMode); }

void GDI_PushClipRect(HDC ctx) {
  if (!ctx) return;
  ctx->clipStack.push_back({ctx->hasClip, ctx->clip});
}

void GDI_SetClipRect(HDC ctx, const RECT* r) {
  if (!ctx) return;
  ctx->hasClip = r != nullptr;
  if (r) ctx->clip = *r;
}

void GDI_PopClipRect(HDC ctx) {
  if (!ctx || ctx->clipStack.empty()) return;
  ctx->hasClip = ctx->clipStack.back().hasClip;
  ctx->clip = ctx->clipStack.back().clip;
  ctx->clipStack.pop_back();
}

void GDI_GetClipRect(HDC ctx, RECT* out) {
  if (!out) return;
  if (!ctx) {
    *out = {0, 0, 0, 0};
    return;
  }
  *out = ctx->DrawableRect();
}
