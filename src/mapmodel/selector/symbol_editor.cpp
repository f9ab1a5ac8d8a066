#include "mapmodel/selector/symbol_editor.h"
#include <commdlg.h>
#include <cwchar>
#include <utility>
#include <vector>
#include "com/module.h"
#include "mapmodel/display/color.h"
#include "mapmodel/geometry/envelope.h"
#include "mapmodel/geometry/line.h"
#include "mapmodel/geometry/point.h"
#include "mapmodel/selector/dialog_ids.h"
#include "mapmodel/selector/dialog_template.h"
#include "mapmodel/symbols/line_symbol.h"

namespace mapmodel {

namespace ids = selector_ids;
using com::check;
using com::ComPtr;

namespace {

struct StyleName {
    const wchar_t* name;
    long value;
};

// The styles a kind offers, as the drop-down list shows them.
std::vector<StyleName> styles_of(SymbolEditor::Kind kind) {
    switch (kind) {
    case SymbolEditor::Kind::SolidFill:
        return {{L"Solid", FillSolid}, {L"Hollow", FillHollow}, {L"Horizontal", FillHorizontal},
                {L"Vertical", FillVertical}, {L"Cross", FillCross}, {L"Diagonal", FillDiagonal}};
    case SymbolEditor::Kind::Line:
        return {{L"Solid", LineSolid}, {L"Dash", LineDash}, {L"Dot", LineDot}, {L"Dash-dot", LineDashDot}, {L"None", LineNull}};
    case SymbolEditor::Kind::Marker:
        return {{L"Circle", MarkerCircle}, {L"Square", MarkerSquare}, {L"Cross", MarkerCross}, {L"X", MarkerX},
                {L"Diamond", MarkerDiamond}};
    default: return {};
    }
}

const wchar_t* size_label(SymbolEditor::Kind kind) {
    switch (kind) {
    case SymbolEditor::Kind::Line: return L"Width:";
    case SymbolEditor::Kind::SolidFill:
    case SymbolEditor::Kind::GradientFill: return L"Outline width:";
    default: return L"Size:";
    }
}

std::wstring window_text(HWND w) {
    int n = GetWindowTextLengthW(w);
    std::wstring s(size_t(n) + 1, L'\0');
    GetWindowTextW(w, s.data(), n + 1);
    s.resize(size_t(n));
    return s;
}

std::wstring hex(COLORREF c) {
    wchar_t buf[8];
    swprintf(buf, 8, L"#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return buf;
}

bool parse_hex(const std::wstring& s, COLORREF& c) {
    if (s.size() != 7 || s[0] != L'#' || s.find_first_not_of(L"0123456789abcdefABCDEF", 1) != std::wstring::npos) return false;
    unsigned long v = std::wcstoul(s.c_str() + 1, nullptr, 16);
    c = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    return true;
}

bool parse_points(const std::wstring& s, double& v) {
    wchar_t* end = nullptr;
    v = std::wcstod(s.c_str(), &end);
    while (end && *end == L' ') ++end;
    return !s.empty() && end && *end == 0 && v >= 0 && v <= 1000;
}

ComPtr<IFillSymbol> fill_of(ISymbol* s) { return ComPtr<ISymbol>(s).as<IFillSymbol>(); }

}  // namespace

SymbolEditor::Kind SymbolEditor::kind_of(ISymbol* symbol) {
    ComPtr<ISymbol> s(symbol);
    if (s.query<ISolidFillSymbol>()) return Kind::SolidFill;
    if (s.query<IGradientFillSymbol>()) return Kind::GradientFill;
    if (s.query<ILineSymbol>()) return Kind::Line;
    if (s.query<IMarkerSymbol>()) return Kind::Marker;
    if (s.query<IChartSymbol>()) return Kind::Pie;
    return Kind::Other;
}

SymbolEditor::SymbolEditor(ComPtr<ISymbol> symbol) : symbol_(std::move(symbol)), kind_(kind_of(symbol_.get())) {}

bool SymbolEditor::run(HWND parent) {
    DialogTemplate t(L"Symbol Selector", 220, 122, L"MS Shell Dlg", 8);
    using K = DialogTemplate::Kind;
    t.add(K::Static, ids::kPreview, L"", SS_OWNERDRAW, 8, 8, 84, 84, WS_EX_STATICEDGE);
    t.add(K::Static, 0xFFFF, L"Colour:", SS_LEFT, 100, 11, 44, 10);
    t.add(K::Edit, ids::kColor, L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 146, 8, 44, 14);
    t.add(K::Button, ids::kPickColor, L"...", BS_PUSHBUTTON | WS_TABSTOP, 193, 8, 19, 14);
    t.add(K::Static, ids::kSizeLabel, L"", SS_LEFT, 100, 31, 46, 10);
    t.add(K::Edit, ids::kSize, L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 146, 28, 44, 14);
    t.add(K::Static, 0xFFFF, L"Style:", SS_LEFT, 100, 51, 44, 10);
    t.add(K::ComboBox, ids::kStyle, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 146, 48, 66, 90);
    t.add(K::Static, ids::kProblem, L"", SS_LEFT, 100, 70, 112, 20);
    t.add(K::Button, IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 104, 100, 52, 14);
    t.add(K::Button, IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 160, 100, 52, 14);
    failure_ = nullptr;
    INT_PTR r = DialogBoxIndirectParamW(com::Module::handle(), t.get(), parent, &SymbolEditor::procedure,
                                        reinterpret_cast<LPARAM>(this));
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
    if (r == -1) com::raise(HRESULT_FROM_WIN32(GetLastError()), L"Could not show the symbol selector");
    return r == IDOK;
}

INT_PTR CALLBACK SymbolEditor::procedure(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lp);
        reinterpret_cast<SymbolEditor*>(lp)->dialog_ = dialog;
    }
    auto* self = reinterpret_cast<SymbolEditor*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) return FALSE;
    // A window procedure is a boundary: nothing may escape into the dialog manager. The first
    // failure ends the dialog and is kept for run to report; the symbol is not trusted further.
    try {
        return self->handle(message, wp, lp);
    } catch (...) {
        if (!self->failure_) {
            self->failure_ = std::current_exception();
            EndDialog(dialog, IDABORT);
        }
        return FALSE;
    }
}

INT_PTR SymbolEditor::handle(UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
    case WM_INITDIALOG:
        fill_in();
        return TRUE;
    case WM_DRAWITEM:
        if (wp == ids::kPreview) {
            paint_preview(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        }
        return FALSE;
    case WM_COMMAND: {
        int id = LOWORD(wp), code = HIWORD(wp);
        if (id == IDOK) {
            std::wstring problem = take_fields();
            if (problem.empty()) EndDialog(dialog_, IDOK);
            else MessageBeep(MB_ICONWARNING);
            return TRUE;
        }
        if (id == IDCANCEL) {
            EndDialog(dialog_, IDCANCEL);
            return TRUE;
        }
        if (id == ids::kPickColor && code == BN_CLICKED) {
            pick_color();
            return TRUE;
        }
        bool edited = ((id == ids::kColor || id == ids::kSize) && code == EN_CHANGE) ||
                      (id == ids::kStyle && code == CBN_SELCHANGE);
        if (edited && !filling_) take_fields();
        return edited;
    }
    default:
        return FALSE;
    }
}

void SymbolEditor::fill_in() {
    filling_ = true;
    bool has_color = kind_ != Kind::Pie && kind_ != Kind::Other;
    bool has_size = kind_ != Kind::Other;
    auto styles = styles_of(kind_);
    SetDlgItemTextW(dialog_, ids::kColor, has_color ? hex(color()).c_str() : L"");
    EnableWindow(GetDlgItem(dialog_, ids::kColor), has_color);
    EnableWindow(GetDlgItem(dialog_, ids::kPickColor), has_color);
    SetDlgItemTextW(dialog_, ids::kSizeLabel, size_label(kind_));
    if (has_size) {
        wchar_t buf[32];
        swprintf(buf, 32, L"%g", size());
        SetDlgItemTextW(dialog_, ids::kSize, buf);
    }
    EnableWindow(GetDlgItem(dialog_, ids::kSize), has_size);
    HWND combo = GetDlgItem(dialog_, ids::kStyle);
    long current = styles.empty() ? 0 : style();
    for (size_t i = 0; i < styles.size(); ++i) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(styles[i].name));
        if (styles[i].value == current) SendMessageW(combo, CB_SETCURSEL, i, 0);
    }
    EnableWindow(combo, !styles.empty());
    filling_ = false;
}

std::wstring SymbolEditor::take_fields() {
    std::wstring problem;
    HWND color_field = GetDlgItem(dialog_, ids::kColor);
    if (IsWindowEnabled(color_field)) {
        COLORREF c = 0;
        if (parse_hex(window_text(color_field), c)) set_color(c);
        else problem = L"The colour is #RRGGBB, for example #3080C0.";
    }
    HWND size_field = GetDlgItem(dialog_, ids::kSize);
    if (problem.empty() && IsWindowEnabled(size_field)) {
        double v = 0;
        if (parse_points(window_text(size_field), v)) set_size(v);
        else problem = std::wstring(size_label(kind_)) + L" a number of points from 0 to 1000.";
    }
    HWND combo = GetDlgItem(dialog_, ids::kStyle);
    if (problem.empty() && IsWindowEnabled(combo)) {
        LRESULT s = SendMessageW(combo, CB_GETCURSEL, 0, 0);
        auto styles = styles_of(kind_);
        if (s >= 0 && size_t(s) < styles.size()) set_style(styles[size_t(s)].value);
    }
    show_problem(problem);
    InvalidateRect(GetDlgItem(dialog_, ids::kPreview), nullptr, TRUE);
    return problem;
}

void SymbolEditor::show_problem(const std::wstring& problem) { SetDlgItemTextW(dialog_, ids::kProblem, problem.c_str()); }

void SymbolEditor::pick_color() {
    static COLORREF custom[16] = {};
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = dialog_;
    cc.rgbResult = color();
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (ChooseColorW(&cc)) SetDlgItemTextW(dialog_, ids::kColor, hex(cc.rgbResult).c_str());
}

// The symbol draws itself on the preview (one unit per pixel): an area for fills, a line for
// lines, a point for markers and pies.
void SymbolEditor::paint_preview(const DRAWITEMSTRUCT& item) {
    RECT r = item.rcItem;
    FillRect(item.hDC, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    double l = r.left + 10, t = r.top + 10, rt = r.right - 10, b = r.bottom - 10;
    ComPtr<IGeometry> shape;
    switch (kind_) {
    case Kind::SolidFill:
    case Kind::GradientFill: shape = Envelope::create(Bounds::of(l, t, rt, b)).as<IGeometry>(); break;
    case Kind::Line: shape = Line::create(Vec{l, (t + b) / 2}, Vec{rt, (t + b) / 2}).as<IGeometry>(); break;
    default: shape = Point::create(Vec{(l + rt) / 2, (t + b) / 2}).as<IGeometry>(); break;
    }
    check(symbol_->SetupDC(reinterpret_cast<LONG_PTR>(item.hDC), nullptr));
    HRESULT hr = symbol_->Draw(shape.get());
    symbol_->ResetDC();
    check(hr);
}

// ---- the symbol's settings, by kind

COLORREF SymbolEditor::color() const {
    ComPtr<IColor> c;
    switch (kind_) {
    case Kind::SolidFill:
    case Kind::GradientFill: check(fill_of(symbol_.get())->get_Color(c.put())); break;
    case Kind::Line: check(symbol_.as<ILineSymbol>()->get_Color(c.put())); break;
    case Kind::Marker: check(symbol_.as<IMarkerSymbol>()->get_Color(c.put())); break;
    default: return 0;
    }
    return color_of(c.get(), L"The symbol's colour");
}

void SymbolEditor::set_color(COLORREF value) {
    auto c = make_color(value);
    switch (kind_) {
    case Kind::SolidFill:
    case Kind::GradientFill: check(fill_of(symbol_.get())->putref_Color(c.get())); break;
    case Kind::Line: check(symbol_.as<ILineSymbol>()->putref_Color(c.get())); break;
    case Kind::Marker: check(symbol_.as<IMarkerSymbol>()->putref_Color(c.get())); break;
    default: break;
    }
}

double SymbolEditor::size() const {
    double v = 0;
    switch (kind_) {
    case Kind::SolidFill:
    case Kind::GradientFill: {
        ComPtr<ILineSymbol> outline;
        check(fill_of(symbol_.get())->get_Outline(outline.put()));
        if (outline) check(outline->get_Width(&v));
        break;
    }
    case Kind::Line: check(symbol_.as<ILineSymbol>()->get_Width(&v)); break;
    case Kind::Marker: check(symbol_.as<IMarkerSymbol>()->get_Size(&v)); break;
    case Kind::Pie: check(symbol_.as<IChartSymbol>()->get_Size(&v)); break;
    default: break;
    }
    return v;
}

// A fill without an outline gets one when it is given a width.
void SymbolEditor::set_size(double points) {
    switch (kind_) {
    case Kind::SolidFill:
    case Kind::GradientFill: {
        auto fill = fill_of(symbol_.get());
        ComPtr<ILineSymbol> outline;
        check(fill->get_Outline(outline.put()));
        if (!outline && points == 0) break;
        if (!outline) {
            outline = LineSymbol::create().as<ILineSymbol>();
            check(fill->putref_Outline(outline.get()));
        }
        check(outline->put_Width(points));
        break;
    }
    case Kind::Line: check(symbol_.as<ILineSymbol>()->put_Width(points)); break;
    case Kind::Marker: check(symbol_.as<IMarkerSymbol>()->put_Size(points)); break;
    case Kind::Pie: check(symbol_.as<IChartSymbol>()->put_Size(points)); break;
    default: break;
    }
}

long SymbolEditor::style() const {
    switch (kind_) {
    case Kind::SolidFill: {
        FillStyle s{};
        check(symbol_.as<ISolidFillSymbol>()->get_Style(&s));
        return long(s);
    }
    case Kind::Line: {
        LineStyle s{};
        check(symbol_.as<ILineSymbol>()->get_Style(&s));
        return long(s);
    }
    case Kind::Marker: {
        MarkerStyle s{};
        check(symbol_.as<IMarkerSymbol>()->get_Style(&s));
        return long(s);
    }
    default: return 0;
    }
}

void SymbolEditor::set_style(long s) {
    switch (kind_) {
    case Kind::SolidFill: check(symbol_.as<ISolidFillSymbol>()->put_Style(FillStyle(s))); break;
    case Kind::Line: check(symbol_.as<ILineSymbol>()->put_Style(LineStyle(s))); break;
    case Kind::Marker: check(symbol_.as<IMarkerSymbol>()->put_Style(MarkerStyle(s))); break;
    default: break;
    }
}

}  // namespace mapmodel
