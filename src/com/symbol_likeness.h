// ISymbolLikeness: how a symbol of the map model's own classes tells the control, in one process,
// everything that decides the pixels it paints (its kind, colours, sizes, widths, styles, the
// outline and ramp it draws with, as they are now). Two symbols whose likenesses are equal paint
// alike on any shape and surface, so the control may keep a measure or a picture of one for the
// other, across paints and rebuilds. A symbol that does not answer it (a host's own class, or a
// host's wrapper around a model symbol) is measured and drawn anew every time.
//
// The interface is private to the two libraries: it is in neither type library and no proxy
// exists for it, so it is answered only where the caller holds the symbol itself.
#pragma once
#include <windows.h>
#include <unknwn.h>

MIDL_INTERFACE("F987A9E7-64D0-41CF-B782-CF415749F998")
ISymbolLikeness : public IUnknown {
public:
    // The likeness of `asked`, the symbol interface the caller holds: the symbol answers only
    // when that is its own (so no wrapper passes, even one that hands on every query).
    //   S_OK: *count numbers; when *count exceeds capacity, nothing was written (ask again with
    //         room for *count).
    //   S_FALSE: the symbol has no likeness now (it is to be drawn anew every time).
    virtual HRESULT STDMETHODCALLTYPE GetLikeness(IUnknown* asked, ULONG capacity, double* settings, ULONG* count) = 0;
};
__CRT_UUID_DECL(ISymbolLikeness, 0xf987a9e7, 0x64d0, 0x41cf, 0xb7, 0x82, 0xcf, 0x41, 0x57, 0x49, 0xf9, 0x98)
