// _TOC2: the options that go beyond the first interface, and what lies at a point. Each option
// is off until the host switches it on; setting one that changes what the tree shows rebuilds
// the tree (when it shows a map), one that changes how the tree window behaves changes its
// styles. The options are saved with the control's state and loaded from it; state saved
// before they existed (nothing at all) loads with every option off, and a control with every
// option off saves nothing, as before.
//
// In a stream they are a tagged block: the tag, the number of options, then each as a 16-bit
// Boolean in the order below (a later version may add options at the end; what it adds is
// skipped). A stream that does not start with the tag holds no options: what was read of it is
// given back. In a property bag each option that is on is a Boolean under its name; a missing one
// is off.
#include <commctrl.h>
#include <algorithm>
#include <cmath>
#include <iterator>
#include "com/boundary.h"
#include "com/error.h"
#include "com/variant.h"
#include "com/vbnum.h"
#include "kelpy/control/toc.h"
#include "kelpy/platform/handler.h"

namespace kelpy {

namespace {

struct OptionInfo {
    const wchar_t* name;
    bool Options::*field;
    bool rebuilds;  // what the tree shows depends on it
};

constexpr OptionInfo option_infos[] = {
    {L"ShowNestedGroups", &Options::showNestedGroups, true},
    {L"DropAtMark", &Options::dropAtMark, false},
    {L"MixedGroupChecks", &Options::mixedGroupChecks, true},
    {L"AllowRename", &Options::allowRename, false},
    {L"ShowTips", &Options::showTips, false},
    {L"ShowScaleRanges", &Options::showScaleRanges, false},
    {L"ShowFeatureCounts", &Options::showFeatureCounts, false},
};
constexpr DWORD stream_tag = 0x32434F54;  // "TOC2"
constexpr DWORD option_count = DWORD(std::size(option_infos));

const OptionInfo& info_of(bool Options::*field) {
    for (const OptionInfo& o : option_infos)
        if (o.field == field) return o;
    com::raise(E_UNEXPECTED, L"An option without a name");
}

// Reads exactly `size` bytes; false when the stream ends first (`got` says how many came).
bool read_all(IStream* stream, void* into, ULONG size, ULONG& got) {
    got = 0;
    com::check(stream->Read(into, size, &got));
    return got == size;
}

void seek(IStream* stream, LONGLONG by) {
    LARGE_INTEGER move{};
    move.QuadPart = by;
    com::check(stream->Seek(move, STREAM_SEEK_CUR, nullptr));
}

void write_all(IStream* stream, const void* from, ULONG size) {
    ULONG written = 0;
    com::check(stream->Write(from, size, &written));
    if (written != size) com::raise(STG_E_MEDIUMFULL, L"The control's state could not be written whole");
}

}  // namespace

HRESULT Toc::GetOption(bool Options::*option, VARIANT_BOOL* v) const {
    if (!v) return E_POINTER;
    *v = com::vb(m_options.*option);
    return S_OK;
}

HRESULT Toc::PutOption(bool Options::*option, VARIANT_BOOL v) {
    return com::boundary(IID__TOC2, [&] {
        const bool on = com::is_true(v);
        if (m_options.*option == on) return;
        m_options.*option = on;
        MarkDirty();
        if (!m_bWindowStarted) return;  // the start-up applies them
        ApplyTreeStyles();
        if (info_of(option).rebuilds && m_pMap) com::check(Reset());
        FollowMarks(option);
    });
}

// The rows' marks after an option changed: the scale states are worked out again, or the rows
// are repainted with or without their counts.
void Toc::FollowMarks(bool Options::*option) {
    if (option == &Options::showScaleRanges) m_painter.marks().UpdateScales();
    if (option == &Options::showFeatureCounts) {
        m_painter.marks().ForgetCounts();
        tvwTOC.Invalidate(false);
    }
}

STDMETHODIMP Toc::get_ShowNestedGroups(VARIANT_BOOL* v) { return GetOption(&Options::showNestedGroups, v); }
STDMETHODIMP Toc::put_ShowNestedGroups(VARIANT_BOOL v) { return PutOption(&Options::showNestedGroups, v); }
STDMETHODIMP Toc::get_DropAtMark(VARIANT_BOOL* v) { return GetOption(&Options::dropAtMark, v); }
STDMETHODIMP Toc::put_DropAtMark(VARIANT_BOOL v) { return PutOption(&Options::dropAtMark, v); }
STDMETHODIMP Toc::get_MixedGroupChecks(VARIANT_BOOL* v) { return GetOption(&Options::mixedGroupChecks, v); }
STDMETHODIMP Toc::put_MixedGroupChecks(VARIANT_BOOL v) { return PutOption(&Options::mixedGroupChecks, v); }
STDMETHODIMP Toc::get_AllowRename(VARIANT_BOOL* v) { return GetOption(&Options::allowRename, v); }
STDMETHODIMP Toc::put_AllowRename(VARIANT_BOOL v) { return PutOption(&Options::allowRename, v); }
STDMETHODIMP Toc::get_ShowTips(VARIANT_BOOL* v) { return GetOption(&Options::showTips, v); }
STDMETHODIMP Toc::put_ShowTips(VARIANT_BOOL v) { return PutOption(&Options::showTips, v); }

STDMETHODIMP Toc::get_ShowScaleRanges(VARIANT_BOOL* v) { return GetOption(&Options::showScaleRanges, v); }
STDMETHODIMP Toc::put_ShowScaleRanges(VARIANT_BOOL v) { return PutOption(&Options::showScaleRanges, v); }
STDMETHODIMP Toc::get_ShowFeatureCounts(VARIANT_BOOL* v) { return GetOption(&Options::showFeatureCounts, v); }
STDMETHODIMP Toc::put_ShowFeatureCounts(VARIANT_BOOL v) { return PutOption(&Options::showFeatureCounts, v); }

STDMETHODIMP Toc::get_MapScale(double* v) {
    if (!v) return E_POINTER;
    *v = m_options.mapScale;
    return S_OK;
}

// The host's scale, for a map that does not tell its own; not saved (it is the map's state).
STDMETHODIMP Toc::put_MapScale(double v) {
    return com::boundary(IID__TOC3, [&] {
        if (!(v >= 0) || !std::isfinite(v))
            com::raise(E_INVALIDARG, L"MapScale is a scale denominator: a finite number, 0 or more (0: none)");
        m_options.mapScale = v;
        if (m_bWindowStarted) m_painter.marks().UpdateScales();
    });
}

HRESULT Toc::MapScaleChanged() noexcept {
    if (!m_options.showScaleRanges || !m_bWindowStarted) return S_OK;
    const HRESULT hr = com::boundary(IID__TOC3, [&] { m_painter.marks().UpdateScales(); });
    if (FAILED(hr)) platform::report_failure(L"The rows after a change of the map's scale", hr);
    return hr;
}

HRESULT Toc::MapContentsChanged() noexcept {
    if (!m_bWindowStarted) return S_OK;
    // A map that follows its layers' extent changes its scale with its contents, too.
    return com::boundary(IID__TOC3, [&] {
        m_painter.marks().ForgetCounts();
        if (m_options.showScaleRanges) m_painter.marks().UpdateScales();
    });
}

STDMETHODIMP Toc::ItemAt(LONG x, LONG y, _TOCItemInfo** item) {
    return com::boundary(IID__TOC2, [&] {
        if (!item) com::raise(E_POINTER);
        *item = nullptr;
        // A control without a window has nothing at any point.
        com::ComPtr<TocItemInfo> info = tvwTOC.hWnd() ? m_interaction.ItemAt(x, y) : TocItemInfo::create();
        *item = com::ComPtr<_TOCItemInfo>(info.get()).detach();
    });
}

void Toc::ApplyTreeStyles() {
    HWND tree = tvwTOC.hWnd();
    if (!tree) return;
    const LONG_PTR style = GetWindowLongPtrW(tree, GWL_STYLE);
    LONG_PTR wanted = style & ~LONG_PTR(TVS_EDITLABELS | TVS_INFOTIP);
    if (m_options.allowRename) wanted |= TVS_EDITLABELS;
    if (m_options.showTips || m_options.showScaleRanges) wanted |= TVS_INFOTIP;
    if (wanted != style) SetWindowLongPtrW(tree, GWL_STYLE, wanted);
}

// ---- saved state

void Toc::LoadProperties(IStream* stream) {
    Options loaded;
    DWORD head[2] = {};
    ULONG got = 0;
    if (!read_all(stream, &head[0], sizeof head[0], got) || head[0] != stream_tag) {
        seek(stream, -LONGLONG(got));  // not ours: state saved before there were options
    } else {
        if (!read_all(stream, &head[1], sizeof head[1], got))
            com::raise(STG_E_READFAULT, L"The control's saved state ends within its options");
        for (DWORD i = 0; i < head[1]; ++i) {
            VARIANT_BOOL v = VARIANT_FALSE;
            if (!read_all(stream, &v, sizeof v, got)) com::raise(STG_E_READFAULT, L"The control's saved state ends within its options");
            if (i < option_count) loaded.*option_infos[i].field = com::is_true(v);
        }
    }
    m_options = loaded;
}

// A control whose options are all off saves nothing at all, as a control without options does.
bool Toc::AnyOptionOn() const noexcept {
    for (const OptionInfo& o : option_infos)
        if (m_options.*o.field) return true;
    return false;
}

void Toc::SaveProperties(IStream* stream) {
    if (!AnyOptionOn()) return;
    const DWORD head[2] = {stream_tag, option_count};
    write_all(stream, head, sizeof head);
    for (const OptionInfo& o : option_infos) {
        const VARIANT_BOOL v = com::vb(m_options.*o.field);
        write_all(stream, &v, sizeof v);
    }
}

ULONGLONG Toc::PropertiesSizeMax() const {
    return AnyOptionOn() ? 2 * sizeof(DWORD) + option_count * sizeof(VARIANT_BOOL) : 0;
}

void Toc::LoadProperties(IPropertyBag* bag, IErrorLog* log) {
    Options loaded;
    for (const OptionInfo& o : option_infos) {
        com::Variant v = com::Variant::from_bool(false);  // the type asked for
        if (FAILED(bag->Read(o.name, v.get(), log))) continue;  // missing: off
        loaded.*o.field = v.to_bool();
    }
    m_options = loaded;
}

void Toc::SaveProperties(IPropertyBag* bag, BOOL) {
    for (const OptionInfo& o : option_infos) {
        if (!(m_options.*o.field)) continue;  // missing is off
        com::Variant v = com::Variant::from_bool(true);
        com::check(bag->Write(o.name, v.get()));
    }
}

}  // namespace kelpy
