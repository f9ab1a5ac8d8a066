#include "fixture.h"
#include "common/registration.h"
#include "com/variant.h"
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace mm {

void use_model() { test::register_library(L"mapmodel.dll"); }

long live_objects() {
    auto info = create<IModelInfo>(CLSID_ModelInfo);
    long n = -1;
    EXPECT_EQ(info->get_LiveObjects(&n), S_OK);
    return n;
}

ComPtr<IColor> rgb(COLORREF c) {
    auto color = create<IColor>(CLSID_RgbColor);
    EXPECT_EQ(color->put_RGB(long(c)), S_OK);
    return color;
}

ComPtr<ILayer> plain_layer(const wchar_t* name) {
    auto layer = create<ILayer>(CLSID_PlainLayer);
    EXPECT_EQ(layer->put_Name(com::Bstr(name).get()), S_OK);
    return layer;
}

ComPtr<IEnvelope> envelope(double x0, double y0, double x1, double y1) {
    auto e = create<IEnvelope>(CLSID_Envelope);
    EXPECT_EQ(e->PutCoords(x0, y0, x1, y1), S_OK);
    return e;
}

ComPtr<IPoint> point(double x, double y) {
    auto p = create<IPoint>(CLSID_Point);
    EXPECT_EQ(p->PutCoords(x, y), S_OK);
    return p;
}

std::wstring name_of(ILayer* layer) {
    com::Bstr name;
    EXPECT_EQ(layer->get_Name(name.put()), S_OK);
    return name.str();
}

std::vector<std::wstring> layer_names(IMap* map) {
    long n = 0;
    EXPECT_EQ(map->get_LayerCount(&n), S_OK);
    std::vector<std::wstring> names;
    for (long i = 0; i < n; ++i) {
        ComPtr<ILayer> l;
        EXPECT_EQ(map->get_Layer(i, l.put()), S_OK);
        names.push_back(name_of(l.get()));
    }
    return names;
}

std::wstring last_error() {
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || !info) return {};
    com::Bstr d;
    info->GetDescription(d.put());
    info->Release();
    return d.str();
}

TempFolder::TempFolder() {
    wchar_t temp[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    EXPECT_GT(n, 0u);
    std::wstring base(temp, n);
    for (unsigned i = 0;; ++i) {
        path_ = base + L"kelpy-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount() + i);
        if (CreateDirectoryW(path_.c_str(), nullptr)) break;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS)) << "cannot make a temporary folder";
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
        SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::wstring> TempFolder::names() const {
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

std::string read_bytes(const std::wstring& path) {
    std::ifstream f(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void write_bytes(const std::wstring& path, std::string_view bytes) {
    std::ofstream f(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), std::streamsize(bytes.size()));
    EXPECT_TRUE(f.good()) << "cannot write the test file";
}

std::wstring RecordingSink::item_name(const VARIANT& v) {
    if (v.vt != VT_DISPATCH && v.vt != VT_UNKNOWN) return L"?";
    auto layer = ComPtr<IUnknown>(v.punkVal).query<ILayer>();
    return layer ? name_of(layer.get()) : L"?";
}

Subscription::Subscription(IMap* map, IUnknown* sink) {
    auto container = ComPtr<IMap>(map).as<IConnectionPointContainer>();
    EXPECT_EQ(container->FindConnectionPoint(__uuidof(IMapViewEvents), point_.put()), S_OK);
    if (point_) {
        EXPECT_EQ(point_->Advise(sink, &cookie_), S_OK);
    }
}

Subscription::~Subscription() {
    if (point_ && cookie_) point_->Unadvise(cookie_);
}

WhiteBitmap::WhiteBitmap(long width, long height) : width_(width), height_(height) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
    RECT all{0, 0, width, height};
    FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

WhiteBitmap::~WhiteBitmap() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

std::vector<COLORREF> WhiteBitmap::pixels() const {
    // Read back through GetDIBits, as a host reading the bitmap would.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<DWORD> bits(size_t(width_) * size_t(height_));
    SelectObject(dc_, old_);  // GetDIBits wants the bitmap out of the DC
    GetDIBits(dc_, bitmap_, 0, UINT(height_), bits.data(), &info, DIB_RGB_COLORS);
    SelectObject(dc_, bitmap_);
    std::vector<COLORREF> colors(bits.size());
    for (size_t i = 0; i < bits.size(); ++i) colors[i] = RGB((bits[i] >> 16) & 0xFF, (bits[i] >> 8) & 0xFF, bits[i] & 0xFF);
    return colors;
}

COLORREF WhiteBitmap::pixel(long x, long y) const { return pixels()[size_t(y) * size_t(width_) + size_t(x)]; }

RECT WhiteBitmap::painted() const {
    std::vector<COLORREF> all = pixels();
    RECT r{width_, height_, -1, -1};
    for (long y = 0; y < height_; ++y)
        for (long x = 0; x < width_; ++x)
            if (all[size_t(y) * size_t(width_) + size_t(x)] != RGB(255, 255, 255)) {
                r.left = std::min(r.left, x);
                r.top = std::min(r.top, y);
                r.right = std::max(r.right, x + 1);
                r.bottom = std::max(r.bottom, y + 1);
            }
    if (r.right < 0) return RECT{0, 0, 0, 0};
    return r;
}

long WhiteBitmap::count(COLORREF c) const {
    long n = 0;
    for (COLORREF p : pixels()) n += p == c;
    return n;
}

}  // namespace mm
