// WriteBitmapPNG on Windows, through the Windows Imaging Component's PNG encoder: 8-bit BGRA with
// straight alpha, the raster library's own layout, so no pixel is converted on the way.
#if defined(_WIN32)

#include <wincodec.h>
#include <windows.h>

#include "base/WideText.h"
#include "graphics/platform/headless/BackBufferPNG.h"
#include "pix/PIX_IBitmap.h"

namespace {
struct Releaser {
  IUnknown* p;
  ~Releaser() {
    if (p) p->Release();
  }
};

bool Encode(IWICImagingFactory* factory, PIX_IBitmap* bitmap, const wchar_t* path) {
  const UINT w = (UINT)bitmap->getWidth(), h = (UINT)bitmap->getHeight();
  const UINT stride = (UINT)bitmap->getRowSpan() * 4;
  IWICStream* stream = nullptr;
  if (FAILED(factory->CreateStream(&stream))) return false;
  Releaser s{stream};
  if (FAILED(stream->InitializeFromFilename(path, GENERIC_WRITE))) return false;
  IWICBitmapEncoder* encoder = nullptr;
  if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder))) return false;
  Releaser e{encoder};
  IWICBitmapFrameEncode* frame = nullptr;
  if (FAILED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(&frame, nullptr)))
    return false;
  Releaser f{frame};
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
  if (FAILED(frame->Initialize(nullptr)) || FAILED(frame->SetSize(w, h)) ||
      FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat32bppBGRA)
    return false;
  return SUCCEEDED(frame->WritePixels(h, stride, stride * h, (BYTE*)bitmap->getBits())) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}
}  // namespace

bool WriteBitmapPNG(PIX_IBitmap* bitmap, const char* path) {
  if (!bitmap || !bitmap->getBits() || !path || !*path) return false;
  if (bitmap->getWidth() <= 0 || bitmap->getHeight() <= 0) return false;
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  bool ok = false;
  IWICImagingFactory* factory = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IWICImagingFactory, (void**)&factory))) {
    ok = Encode(factory, bitmap, Utf8ToWide(path).c_str());
    factory->Release();
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return ok;
}

#endif
