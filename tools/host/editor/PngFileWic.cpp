// Window pictures as PNG files on Windows, through the Windows Imaging Component: no PNG library
// travels with the host. The pictures are opaque, so the file holds 8-bit RGBA as on Linux.
#include "host/editor/PngFile.h"

#include <wincodec.h>
#include <windows.h>

#include "base/WideText.h"

namespace qvhost {

namespace {

template <class T>
struct Com {
  T* p = nullptr;
  ~Com() {
    if (p) p->Release();
  }
  T** operator&() { return &p; }
  T* operator->() const { return p; }
};

// COM for this thread, unless the thread already has it (in whichever model).
struct ComScope {
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ~ComScope() {
    if (SUCCEEDED(hr)) CoUninitialize();
  }
};

bool failed(HRESULT hr, const char* what, std::string* error) {
  if (SUCCEEDED(hr)) return false;
  if (error) *error = std::string("cannot write the PNG file: ") + what + " failed";
  return true;
}

}  // namespace

bool writePng(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height,
              std::string* error) {
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * height) {
    if (error) *error = "no picture to write";
    return false;
  }
  ComScope com;
  Com<IWICImagingFactory> factory;
  Com<IWICStream> stream;
  Com<IWICBitmapEncoder> encoder;
  Com<IWICBitmapFrameEncode> frame;
  const std::wstring widePath = Utf8ToWide(path.c_str());
  if (failed(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(&factory)),
             "the imaging component", error) ||
      failed(factory->CreateStream(&stream), "a stream", error) ||
      failed(stream->InitializeFromFilename(widePath.c_str(), GENERIC_WRITE), "opening the file", error) ||
      failed(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder), "the PNG encoder", error) ||
      failed(encoder->Initialize(stream.p, WICBitmapEncoderNoCache), "the encoder", error) ||
      failed(encoder->CreateNewFrame(&frame, nullptr), "a frame", error) ||
      failed(frame->Initialize(nullptr), "the frame", error) ||
      failed(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)), "the size", error))
    return false;
  // 0xAARRGGBB words are BGRA bytes: the encoder stores them as RGBA.
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
  if (failed(frame->SetPixelFormat(&format), "the pixel format", error)) return false;
  if (format != GUID_WICPixelFormat32bppBGRA) {
    if (error) *error = "cannot write the PNG file: the encoder takes no 8-bit BGRA";
    return false;
  }
  const UINT stride = static_cast<UINT>(width) * 4;
  if (failed(frame->WritePixels(static_cast<UINT>(height), stride, stride * static_cast<UINT>(height),
                                reinterpret_cast<BYTE*>(const_cast<uint32_t*>(pixels.data()))),
             "writing the pixels", error) ||
      failed(frame->Commit(), "finishing the frame", error) || failed(encoder->Commit(), "finishing the file", error))
    return false;
  return true;
}

bool readPng(const std::string&, std::vector<uint32_t>*, int*, int*, std::string* error) {
  // Only tests read pictures back, and they run on Linux.
  if (error) *error = "reading PNG files is not offered on Windows";
  return false;
}

}  // namespace qvhost
