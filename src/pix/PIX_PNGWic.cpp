// PNG decoding on Windows through the Windows Imaging Component, which every Windows has: no PNG
// library travels with the plug-in. The pixels are asked for as non-premultiplied 8-bit BGRA, the
// raster library's own layout, so they equal what libpng gives elsewhere; 16-bit images keep the
// high byte of each sample, as libpng's strip does, instead of WIC's rounding.
#if defined(_WIN32)

#include <wincodec.h>
#include <windows.h>

#include <vector>

#include "pix/PIX_MemBitmap.h"
#include "pix/PIX_PNGDecode.h"

namespace {
template <class T>
struct ComPtr {
  T* p = nullptr;
  ~ComPtr() {
    if (p) p->Release();
  }
  T** operator&() { return &p; }
  T* operator->() const { return p; }
};

// COM for this thread, unless the thread already has it (in whichever model).
struct ComScope {
  HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  ~ComScope() {
    if (SUCCEEDED(hr)) CoUninitialize();
  }
};

// 16-bit layouts the PNG decoder hands out, by samples per pixel; 0 for any other layout.
int SixteenBitSamples(const WICPixelFormatGUID& f) {
  if (f == GUID_WICPixelFormat64bppRGBA) return 4;
  if (f == GUID_WICPixelFormat48bppRGB) return 3;
  if (f == GUID_WICPixelFormat16bppGray) return 1;
  return 0;
}

// Rows of 16-bit samples (little-endian words, R G B [A] or grey) to pixel words from the high
// bytes, read from the frame itself: no conversion rounds them.
bool CopyHighBytes(IWICBitmapSource* source, int samples, PIX_IBitmap* bm, UINT w, UINT h) {
  const UINT stride = w * 2 * (UINT)samples;
  std::vector<unsigned short> row((size_t)w * samples);
  PIX_Pixel* bits = bm->getBits();
  const long span = bm->getRowSpan();
  for (UINT y = 0; y < h; y++) {
    WICRect line = {0, (INT)y, (INT)w, 1};
    if (FAILED(source->CopyPixels(&line, stride, stride, (BYTE*)row.data()))) return false;
    PIX_Pixel* out = bits + y * span;
    for (UINT x = 0; x < w; x++) {
      const unsigned short* s = &row[(size_t)x * samples];
      if (samples == 1)
        out[x] = PIX_MAKEPIXEL(0xFF, s[0] >> 8, s[0] >> 8, s[0] >> 8);
      else
        out[x] = PIX_MAKEPIXEL(samples == 4 ? s[3] >> 8 : 0xFF, s[0] >> 8, s[1] >> 8, s[2] >> 8);
    }
  }
  return true;
}
}  // namespace

PIX_IBitmap* PIX_DecodePNG(const unsigned char* data, size_t length, PIX_IBitmap* given) {
  if (length > 0xFFFFFFFFu) return nullptr;
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              (void**)&factory)))
    return nullptr;
  ComPtr<IWICStream> stream;
  if (FAILED(factory->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), (DWORD)length)))
    return nullptr;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, &decoder)) ||
      FAILED(decoder->Initialize(stream.p, WICDecodeMetadataCacheOnDemand)) ||
      FAILED(decoder->GetFrame(0, &frame)))
    return nullptr;
  UINT w = 0, h = 0;
  WICPixelFormatGUID native;
  if (FAILED(frame->GetSize(&w, &h)) || FAILED(frame->GetPixelFormat(&native))) return nullptr;
  if (w == 0 || h == 0 || (unsigned long long)w * h > PIX_PNG_MAX_PIXELS) return nullptr;
  const int wideSamples = SixteenBitSamples(native);
  ComPtr<IWICFormatConverter> converter;
  if (!wideSamples &&
      (FAILED(factory->CreateFormatConverter(&converter)) ||
       FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                    0.0, WICBitmapPaletteTypeCustom))))
    return nullptr;

  PIX_IBitmap* bm = given;
  PIX_IBitmap* created = nullptr;
  if (bm) {
    bm->resize((int)w, (int)h);
  } else {
    bm = created = new PIX_MemBitmap((int)w, (int)h, 4);
  }
  const long span = bm->getRowSpan();
  bool ok = bm->getBits() && bm->getWidth() == (int)w && bm->getHeight() == (int)h && span >= (long)w;
  if (ok && wideSamples) {
    ok = CopyHighBytes(frame.p, wideSamples, bm, w, h);
  } else if (ok) {
    const unsigned long long bytes = (unsigned long long)span * 4 * (h - 1) + (unsigned long long)w * 4;
    ok = bytes <= 0xFFFFFFFFu &&
         SUCCEEDED(converter->CopyPixels(nullptr, (UINT)(span * 4), (UINT)bytes, (BYTE*)bm->getBits()));
  }
  if (!ok) {
    delete created;
    return nullptr;
  }
  return bm;
}

#endif
