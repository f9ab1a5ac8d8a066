#include "picture.h"
#include <wincodec.h>
#include "com/error.h"
#include "com/ptr.h"

namespace host {

Pixels pixels_of(const win::DibCanvas& canvas) {
    GdiFlush();
    Pixels p;
    p.width = int(canvas.width());
    p.height = int(canvas.height());
    p.data.assign(canvas.row(0), canvas.row(canvas.height()));
    for (DWORD& px : p.data) px &= 0x00FFFFFF;
    return p;
}

Pixels window_pixels(HWND window, bool whole_window) {
    RECT r{};
    if (whole_window) {
        GetWindowRect(window, &r);
        OffsetRect(&r, -r.left, -r.top);
    } else {
        GetClientRect(window, &r);
    }
    win::DibCanvas canvas(r.right, r.bottom);
    const win::WindowDC source(window, whole_window);
    if (!BitBlt(canvas.dc(), 0, 0, r.right, r.bottom, source.get(), 0, 0, SRCCOPY))
        com::raise(E_FAIL, L"The window's pixels could not be copied");
    return pixels_of(canvas);
}

namespace {
com::ComPtr<IWICImagingFactory> imaging() {
    return com::ComPtr<IWICImagingFactory>::create(CLSID_WICImagingFactory);
}
}  // namespace

void write_png(const Pixels& picture, const std::wstring& path) {
    auto factory = imaging();
    com::ComPtr<IWICStream> stream;
    com::check(factory->CreateStream(stream.put()));
    if (FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)))
        com::raise(STG_E_CANTSAVE, L"Cannot write the picture " + path);
    com::ComPtr<IWICBitmapEncoder> encoder;
    com::check(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put()));
    com::check(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache));
    com::ComPtr<IWICBitmapFrameEncode> frame;
    com::check(encoder->CreateNewFrame(frame.put(), nullptr));
    com::check(frame->Initialize(nullptr));
    com::check(frame->SetSize(UINT(picture.width), UINT(picture.height)));
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    com::check(frame->SetPixelFormat(&format));
    if (format != GUID_WICPixelFormat24bppBGR) com::raise(E_FAIL, L"The PNG encoder does not take 24-bit pixels");
    const UINT stride = (UINT(picture.width) * 3 + 3) & ~3u;
    std::vector<BYTE> rows(size_t(stride) * size_t(picture.height));
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const DWORD px = picture.at(x, y);
            BYTE* out = &rows[size_t(y) * stride + size_t(x) * 3];
            out[0] = BYTE(px & 0xFF);
            out[1] = BYTE((px >> 8) & 0xFF);
            out[2] = BYTE((px >> 16) & 0xFF);
        }
    com::check(frame->WritePixels(UINT(picture.height), stride, UINT(rows.size()), rows.data()));
    com::check(frame->Commit());
    com::check(encoder->Commit());
}

Pixels read_picture(const std::wstring& path) {
    auto factory = imaging();
    com::ComPtr<IWICBitmapDecoder> decoder;
    com::check(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  decoder.put()));
    com::ComPtr<IWICBitmapFrameDecode> frame;
    com::check(decoder->GetFrame(0, frame.put()));
    com::ComPtr<IWICFormatConverter> converter;
    com::check(factory->CreateFormatConverter(converter.put()));
    com::check(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom));
    UINT w = 0, h = 0;
    com::check(converter->GetSize(&w, &h));
    Pixels p;
    p.width = int(w);
    p.height = int(h);
    p.data.resize(size_t(w) * size_t(h));
    com::check(converter->CopyPixels(nullptr, w * 4, UINT(p.data.size() * 4), reinterpret_cast<BYTE*>(p.data.data())));
    for (DWORD& px : p.data) px &= 0x00FFFFFF;
    return p;
}

}  // namespace host
