// Memory drawing contexts over a plain heap frame buffer; the same on every platform, since the
// window bridge presents the buffer itself.
#include "gdi/GDI_MemContext.h"
#include "gdi/GDI_ContextImpl.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace
{
// Larger buffers than this are refused rather than risking size overflow downstream.
constexpr int kMaxSide = 32768;
constexpr int64_t kMaxPixels = int64_t(1) << 28;
}  // namespace

RECT GDI_Context::DrawableRect() const
{
  RECT r = {0, 0, width, height};
  if (hasClip)
  {
    r.left = std::max(r.left, clip.left);
    r.top = std::max(r.top, clip.top);
    r.right = std::min(r.right, clip.right);
    r.bottom = std::min(r.bottom, clip.bottom);
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
  }
  return r;
}

HDC GDI_CreateMemContext(int w, int h)
{
  if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide || int64_t(w) * h > kMaxPixels) return nullptr;
  GDI_Context* ctx = new (std::nothrow) GDI_Context;
  if (!ctx) return nullptr;
  ctx->pixels = static_cast<uint32_t*>(std::calloc(size_t(w) * size_t(h), sizeof(uint32_t)));
  if (!ctx->pixels)
  {
    delete ctx;
    return nullptr;
  }
  ctx->width = w;
  ctx->height = h;
  return ctx;
}

void* GDI_GetCtxFrameBuffer(HDC ctx)
{
  return ctx ? ctx->pixels : nullptr;
}

void GDI_DeleteGfxContext(HDC ctx)
{
  if (!ctx) return;
  std::free(ctx->pixels);
  delete ctx;
}

int GDI_GetCtxWidth(HDC ctx)
{
  return ctx ? ctx->width : 0;
}

int GDI_GetCtxHeight(HDC ctx)
{
  return ctx ? ctx->height : 0;
}

HFONT GDI_SelectFont(HDC ctx, HFONT font)
{
  if (!ctx) return nullptr;
  HFONT old = ctx->font;
  ctx->font = font;
  return old;
}

HFONT GDI_GetCurrentFont(HDC ctx)
{
  return ctx ? ctx->font : nullptr;
}

GDI_COLOR GDI_SetTextColor(HDC ctx, GDI_COLOR colour)
{
  if (!ctx) return 0;
  GDI_COLOR old = ctx->textColor;
  ctx->textColor = colour & 0xFFFFFF;
  return old;
}

GDI_COLOR GDI_GetTextColor(HDC ctx)
{
  return ctx ? ctx->textColor : 0;
}

GDI_COLOR GDI_SetBkColor(HDC ctx, GDI_COLOR colour)
{
  if (!ctx) return 0;
  GDI_COLOR old = ctx->bkColor;
  ctx->bkColor = colour & 0xFFFFFF;
  return old;
}

GDI_COLOR GDI_GetBkColor(HDC ctx)
{
  return ctx ? ctx->bkColor : 0;
}

int GDI_SetBkMode(HDC ctx, int mode)
{
  if (!ctx) return 0;
  int old = ctx->bkMode;
  if (mode == GDI_TRANSPARENT || mode == GDI_OPAQUE) ctx->bkMode = mode;
  return old;
}

int GDI_GetBkMode(HDC ctx)
{
  return ctx ? ctx->bkMode : 0;
}

void GDI_PushClipRect(HDC ctx)
{
  if (!ctx) return;
  ctx->clipStack.push_back({ctx->hasClip, ctx->clip});
}

void GDI_SetClipRect(HDC ctx, const RECT* r)
{
  if (!ctx) return;
  ctx->hasClip = r != nullptr;
  if (r) ctx->clip = *r;
}

void GDI_PopClipRect(HDC ctx)
{
  if (!ctx || ctx->clipStack.empty()) return;
  ctx->hasClip = ctx->clipStack.back().hasClip;
  ctx->clip = ctx->clipStack.back().clip;
  ctx->clipStack.pop_back();
}

void GDI_GetClipRect(HDC ctx, RECT* out)
{
  if (!out) return;
  if (!ctx)
  {
    *out = {0, 0, 0, 0};
    return;
  }
  *out = ctx->DrawableRect();
}
