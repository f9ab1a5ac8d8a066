// Shared helpers of the map-model tests: objects made through COM from the registered
// mapmodel.dll, a recording sink for the map view's notifications, and white bitmaps to draw on.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>
#include "com/bstr.h"
#include "com/object.h"
#include "com/ptr.h"
#include "mapmodel.h"

// Pixel rectangles compare and print in test messages as [left, right) x [top, bottom).
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& o, const RECT& r) {
    return o << "[" << r.left << "," << r.right << ") x [" << r.top << "," << r.bottom << ")";
}

namespace mm {

using com::ComPtr;

// Registers mapmodel.dll once per process.
void use_model();

template <class I>
ComPtr<I> create(REFCLSID clsid) {
    use_model();
    return ComPtr<I>::create(clsid);
}

// The model's objects alive now.
long live_objects();

// Whether the object answers the interface.
template <class I>
bool has(IUnknown* object) {
    return bool(ComPtr<IUnknown>(object).query<I>());
}

ComPtr<IColor> rgb(COLORREF c);
ComPtr<ILayer> plain_layer(const wchar_t* name);
ComPtr<IEnvelope> envelope(double x0, double y0, double x1, double y1);
ComPtr<IPoint> point(double x, double y);
std::wstring name_of(ILayer* layer);
std::vector<std::wstring> layer_names(IMap* map);

// The text of the thread's error info (left by the failing call).
std::wstring last_error();

// Records every notification of the map view as text, e.g. "ItemAdded(Roads)".
class RecordingSink final : public com::ComObject<RecordingSink, IMapViewEvents> {
public:
    std::vector<std::wstring> events;
    std::function<void(const std::wstring&)> on_event;  // called after recording

    STDMETHODIMP ContentsChanged() override { return note(L"ContentsChanged"); }
    STDMETHODIMP ContentsCleared() override { return note(L"ContentsCleared"); }
    STDMETHODIMP ItemAdded(VARIANT item) override { return note(L"ItemAdded(" + item_name(item) + L")"); }
    STDMETHODIMP ItemDeleted(VARIANT item) override { return note(L"ItemDeleted(" + item_name(item) + L")"); }
    STDMETHODIMP ItemReordered(VARIANT item, LONG to) override {
        return note(L"ItemReordered(" + item_name(item) + L"," + std::to_wstring(to) + L")");
    }
    STDMETHODIMP SelectionChanged() override { return note(L"SelectionChanged"); }
    STDMETHODIMP ViewRefreshed(DrawPhase phase, VARIANT, VARIANT) override {
        return note(L"ViewRefreshed(" + std::to_wstring(long(phase)) + L")");
    }
    STDMETHODIMP AfterDraw(LONG_PTR, DrawPhase) override { return note(L"AfterDraw"); }
    STDMETHODIMP AfterItemDraw(LONG index, LONG_PTR, DrawPhase) override {
        return note(L"AfterItemDraw(" + std::to_wstring(index) + L")");
    }
    STDMETHODIMP FocusChanged() override { return note(L"FocusChanged"); }
    STDMETHODIMP ExtentChanged() override { return note(L"ExtentChanged"); }

private:
    static std::wstring item_name(const VARIANT& v);
    HRESULT note(std::wstring e) {
        events.push_back(e);
        if (on_event) on_event(e);
        return S_OK;
    }
};

// Advises a sink on a map's view events for the life of this object.
class Subscription {
public:
    Subscription(IMap* map, IUnknown* sink);
    ~Subscription();
    DWORD cookie() const { return cookie_; }
    IConnectionPoint* point() const { return point_.get(); }

private:
    ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
};

// A new folder under the system's temporary folder, removed with everything in it (read-only
// files too) when it goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }
    // The names of the files and folders in it, sorted.
    std::vector<std::wstring> names() const;

private:
    std::wstring path_;
};

// A file's bytes (empty when it cannot be read), and a new file of the bytes given.
std::string read_bytes(const std::wstring& path);
void write_bytes(const std::wstring& path, std::string_view bytes);

// A 32-bit white bitmap selected into a memory DC.
class WhiteBitmap {
public:
    WhiteBitmap(long width, long height);
    ~WhiteBitmap();
    HDC dc() const { return dc_; }
    COLORREF pixel(long x, long y) const;
    // The rectangle [left, right) x [top, bottom) of pixels that are not white; all 0 if none.
    RECT painted() const;
    long count(COLORREF c) const;
    // Every pixel, row by row.
    std::vector<COLORREF> pixels() const;

private:
    long width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

}  // namespace mm
