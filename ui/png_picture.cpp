#include "png_picture.h"

#include <wincodec.h>

#include <stdexcept>

#include "com_ptr.h"

namespace vx::ui {

namespace {

void Check(HRESULT result, const char* what) {
  if (FAILED(result)) throw std::runtime_error(std::string("cannot decode the picture: ") + what);
}

}  // namespace

PremultipliedPicture DecodePng(const std::string& pngBytes) {
  ComPtr<IWICImagingFactory> factory;
  Check(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                           IID_IWICImagingFactory, factory.PutVoid()),
        "no imaging factory");
  ComPtr<IWICStream> stream;
  Check(factory->CreateStream(stream.Put()), "stream");
  Check(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(pngBytes.data())),
                                     static_cast<DWORD>(pngBytes.size())),
        "stream");
  ComPtr<IWICBitmapDecoder> decoder;
  Check(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                         decoder.Put()),
        "decoder");
  ComPtr<IWICBitmapFrameDecode> frame;
  Check(decoder->GetFrame(0, frame.Put()), "frame");
  ComPtr<IWICFormatConverter> converter;
  Check(factory->CreateFormatConverter(converter.Put()), "converter");
  Check(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                              nullptr, 0.0, WICBitmapPaletteTypeCustom),
        "conversion");
  UINT width = 0, height = 0;
  Check(converter->GetSize(&width, &height), "size");

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, like WIC's rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  PremultipliedPicture picture;
  picture.bitmap.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!picture.bitmap) throw std::runtime_error("cannot decode the picture: no bitmap");
  Check(converter->CopyPixels(nullptr, width * 4, width * height * 4, static_cast<BYTE*>(bits)),
        "pixels");
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  return picture;
}

}  // namespace vx::ui
