#include "kelpy/draw/row_marks.h"
#include <cmath>
#include <cwchar>
#include "kelpy/model/items.h"
#include "kelpy/platform/item_rect.h"

namespace kelpy::draw {

namespace {
constexpr LONG count_gap = 4;  // pixels between a label and its count

// The user's decimal and digit-group separators and group size, read from the locale once per
// paint cycle of a tree (RowMarks::PaintStarts forgets them): reading them for every row a paint
// shows cost more than the row's painting. Per thread, as the control's windows are.
struct NumberFormat {
    bool known = false;
    wchar_t decimal[8] = L".", thousand[8] = L",";
    UINT grouping = 3;
};
thread_local NumberFormat number_format;

const NumberFormat& user_number_format() noexcept {
    NumberFormat& f = number_format;
    if (f.known) return f;
    f = NumberFormat{};
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, f.decimal, 8);
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, f.thousand, 8);
    // The grouping's "3;0" form is one number to GetNumberFormat: 3.
    wchar_t grouping[16] = L"3;0";
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SGROUPING, grouping, 16) > 0 && grouping[0] >= L'0' &&
        grouping[0] <= L'9')
        f.grouping = UINT(grouping[0] - L'0');
    f.known = true;
    return f;
}

// A whole number of 0 or more, its digits grouped as the format says; 0 when `out` is too small.
int format_whole(double value, const NumberFormat& f, wchar_t* out, int size) noexcept {
    wchar_t digits[64];
    const int count = swprintf(digits, 64, L"%.0f", value);
    if (count <= 0) return 0;
    const size_t separator = wcslen(f.thousand);
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const int left = count - i;  // digits from this one to the end
        if (i > 0 && f.grouping > 0 && left % int(f.grouping) == 0) {
            if (n + int(separator) >= size) return 0;
            wmemcpy(out + n, f.thousand, separator);
            n += int(separator);
        }
        if (n + 1 >= size) return 0;
        out[n++] = digits[i];
    }
    out[n] = 0;
    return n;
}

int format_number(double value, int decimals, wchar_t* out, int size) noexcept {
    const NumberFormat& cached = user_number_format();
    if (decimals == 0 && value >= 0 && value < 1e15)
        if (const int n = format_whole(value, cached, out, size); n > 0) return n;
    wchar_t plain[64];
    swprintf(plain, 64, L"%.*f", decimals, value);
    NUMBERFMTW format{};
    wchar_t decimal[8], thousand[8];
    wmemcpy(decimal, cached.decimal, 8);
    wmemcpy(thousand, cached.thousand, 8);
    format.Grouping = cached.grouping;
    format.NumDigits = UINT(decimals);
    format.LeadingZero = 1;
    format.lpDecimalSep = decimal;
    format.lpThousandSep = thousand;
    format.NegativeOrder = 1;
    const int n = GetNumberFormatEx(LOCALE_NAME_USER_DEFAULT, 0, plain, &format, out, size);
    if (n > 0) return n - 1;
    // Without the locale's help the plain digits do.
    const int len = int(wcslen(plain));
    if (len >= size) return 0;
    wmemcpy(out, plain, size_t(len) + 1);
    return len;
}

// The row of the layer a legend row belongs to (the nearest layer or group row above it).
const TocNode* layer_row_above(const platform::NodePtr& node, com::ComPtr<TocNode>& held) {
    for (platform::NodePtr up = node->Parent(); up; up = up->Parent()) {
        held = TagOf(up);
        if (held && IsLayerRow(*held.get())) return held.get();
    }
    return nullptr;
}

double scale_of(IMap* map, double hostScale) {
    if (map) {
        com::ComPtr<IMapScale> scale;
        if (SUCCEEDED(map->QueryInterface(IID_IMapScale, scale.put_void())) && scale) {
            double n = 0;
            if (SUCCEEDED(scale->get_Scale(&n)) && n > 0) return n;
        }
    }
    return hostScale > 0 ? hostScale : 0;
}
}  // namespace

bool IsLayerRow(const TocNode& record) noexcept {
    return record.TOCNodeType == ::TOCNodeType::Layer || record.TOCNodeType == ::TOCNodeType::GroupLayer;
}

int FormatCount(double value, wchar_t* out, int size) noexcept { return format_number(value, 0, out, size); }

std::wstring_view CountSuffix(const TocNode& record, wchar_t (&buffer)[40]) noexcept {
    if (record.FeatureCount < 0) return {};
    buffer[0] = L' ';
    buffer[1] = L'[';
    const int n = FormatCount(double(record.FeatureCount), buffer + 2, 36);
    buffer[2 + n] = L']';
    buffer[3 + n] = 0;
    return {buffer, size_t(3 + n)};
}

std::wstring FormatScale(double denominator) {
    double rounded = denominator;
    int decimals = 0;
    if (denominator > 0) {
        const int digits = int(std::floor(std::log10(denominator))) + 1;  // before the point
        const double unit = std::pow(10.0, digits - 3);
        rounded = std::round(denominator / unit) * unit;
        decimals = digits >= 3 ? 0 : 3 - digits;
    }
    wchar_t text[64];
    const int n = format_number(rounded, decimals, text, 64);
    return std::wstring(text, size_t(n));
}

std::wstring ScaleNote(const TocNode& record) {
    if (!record.OutOfScale) return {};
    auto end = [](double v) { return v > 0 ? L"1:" + FormatScale(v) : std::wstring(L"any"); };
    return L"Not drawn at this scale (1:" + FormatScale(record.MapScale) + L"); drawn from " +
           end(record.RangeMinimum) + L" to " + end(record.RangeMaximum);
}

std::wstring RowDescription(const TocNode& record) {
    std::wstring text;
    if (record.FeatureCount >= 0) {
        wchar_t digits[40];
        const int n = FormatCount(double(record.FeatureCount), digits, 40);
        text.assign(digits, size_t(n));
        text += record.FeatureCount == 1 ? L" feature" : L" features";
    }
    const std::wstring note = ScaleNote(record);
    if (!note.empty()) text += (text.empty() ? L"" : L"; ") + note;
    return text;
}

LONG CountWidth(HWND tree, const TocNode& record) {
    wchar_t buffer[40];
    const std::wstring_view suffix = CountSuffix(record, buffer);
    if (suffix.empty() || !tree) return 0;
    win::WindowDC dc(tree);
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(tree, WM_GETFONT, 0, 0));
    const HGDIOBJ before = font ? SelectObject(dc.get(), font) : nullptr;
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), suffix.data() + 1, int(suffix.size() - 1), &size);
    if (before) SelectObject(dc.get(), before);
    return size.cx + count_gap;
}

RowMarks::~RowMarks() {
    if (timer_ && tvwTOC.hWnd()) KillTimer(tvwTOC.hWnd(), reinterpret_cast<UINT_PTR>(this));
}

void RowMarks::repaint(HTREEITEM item) const {
    HWND tree = tvwTOC.hWnd();
    if (!tree) return;
    if (std::optional<RECT> row = platform::ItemRect(tree, item, platform::ItemPart::Row))
        InvalidateRect(tree, &*row, TRUE);
}

void RowMarks::UpdateScales() {
    const double scale = options_.showScaleRanges ? scale_of(map_.get(), options_.mapScale) : 0;
    platform::NodeCollection& nodes = tvwTOC.Nodes();
    const long count = long(nodes.size());
    // Parents come before their children in the collection, so a row's layer row is settled
    // when the row is reached.
    for (long i = 1; i <= count; ++i) {
        platform::NodePtr node = nodes.Item(i);
        com::ComPtr<TocNode> record = TagOf(node);
        if (!record) continue;
        TocNode& r = *record.get();
        bool out = false;
        double low = 0, high = 0;
        com::ComPtr<TocNode> held;
        const TocNode* above = layer_row_above(node, held);
        if (above && above->OutOfScale) {
            out = true;
            low = above->RangeMinimum;
            high = above->RangeMaximum;
        }
        if (!out && scale > 0 && IsLayerRow(r) && r.Layer) {
            com::ComPtr<IScaleRange> range;
            if (SUCCEEDED(r.Layer->QueryInterface(IID_IScaleRange, range.put_void())) && range) {
                double minimum = 0, maximum = 0;
                if (SUCCEEDED(range->get_MinimumScale(&minimum)) && SUCCEEDED(range->get_MaximumScale(&maximum)) &&
                    ((minimum > 0 && scale > minimum) || (maximum > 0 && scale < maximum))) {
                    out = true;
                    low = minimum;
                    high = maximum;
                }
            }
        }
        const bool changed = out != r.OutOfScale;
        r.OutOfScale = out;
        r.MapScale = out ? scale : 0;
        r.RangeMinimum = low;
        r.RangeMaximum = high;
        if (changed) repaint(node->handle());
    }
}

void RowMarks::ForgetCounts() {
    platform::NodeCollection& nodes = tvwTOC.Nodes();
    const long count = long(nodes.size());
    for (long i = 1; i <= count; ++i)
        if (com::ComPtr<TocNode> record = TagOf(nodes.Item(i))) record->FeatureCount = count_unknown;
    pending_.clear();
    if (options_.showFeatureCounts && tvwTOC.hWnd()) InvalidateRect(tvwTOC.hWnd(), nullptr, TRUE);
}

LONG_PTR RowMarks::PaintStarts() noexcept {
    // A change of the user's number format shows from the next paint on.
    number_format.known = false;
    return CDRF_NOTIFYITEMDRAW | (options_.showFeatureCounts ? CDRF_NOTIFYPOSTPAINT : 0);
}

void RowMarks::note_count(HTREEITEM item, TocNode& record) {
    if (record.FeatureCount != count_unknown) return;
    record.FeatureCount = count_pending;
    pending_.push_back(item);
}

LONG_PTR RowMarks::BeforeTreeRow(NMTVCUSTOMDRAW& draw, TocNode& record) {
    if (!IsLayerRow(record)) return 0;
    LONG_PTR flags = 0;
    if (options_.showScaleRanges && record.OutOfScale) {
        draw.clrText = GetSysColor(COLOR_GRAYTEXT);
        const HFONT current = static_cast<HFONT>(GetCurrentObject(draw.nmcd.hdc, OBJ_FONT));
        if (current != italicOf_ || !italic_) {
            LOGFONTW look{};
            GetObjectW(current, sizeof look, &look);
            look.lfItalic = TRUE;
            italic_ = win::Font(CreateFontIndirectW(&look));
            italicOf_ = current;
        }
        if (italic_) {
            SelectObject(draw.nmcd.hdc, italic_.get());
            flags |= CDRF_NEWFONT;
        }
    }
    if (options_.showFeatureCounts && record.TOCNodeType == ::TOCNodeType::Layer) {
        note_count(reinterpret_cast<HTREEITEM>(draw.nmcd.dwItemSpec), record);
        if (record.FeatureCount >= 0) flags |= CDRF_NOTIFYPOSTPAINT;
    }
    return flags;
}

void RowMarks::AfterTreeRow(const NMTVCUSTOMDRAW& draw, const TocNode& record) {
    if (!options_.showFeatureCounts || record.FeatureCount < 0) return;
    const auto item = reinterpret_cast<HTREEITEM>(draw.nmcd.dwItemSpec);
    const std::optional<RECT> label = platform::ItemRect(tvwTOC.hWnd(), item, platform::ItemPart::Label);
    if (!label) return;
    wchar_t buffer[40];
    const std::wstring_view suffix = CountSuffix(record, buffer);
    const HDC dc = draw.nmcd.hdc;
    const int mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF colour = SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    RECT text{label->right + count_gap, label->top, draw.nmcd.rc.right, label->bottom};
    DrawTextW(dc, suffix.data() + 1, int(suffix.size() - 1), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SetTextColor(dc, colour);
    SetBkMode(dc, mode);
}

COLORREF RowMarks::LabelColour(const TocNode& record) const noexcept {
    if (options_.showScaleRanges && record.OutOfScale) return GetSysColor(COLOR_GRAYTEXT);
    return GetSysColor(COLOR_WINDOWTEXT);
}

void RowMarks::CountAfter(HDC dc, HTREEITEM item, TocNode& record, LONG x, const RECT& row) {
    if (!options_.showFeatureCounts || record.TOCNodeType != ::TOCNodeType::RendererItem) return;
    note_count(item, record);
    if (record.FeatureCount < 0) return;
    wchar_t buffer[40];
    const std::wstring_view suffix = CountSuffix(record, buffer);
    const COLORREF colour = SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    // The count reaches beyond the label's rectangle: the row's painting is clipped to the row.
    RECT text{x + count_gap, row.top, x + count_gap, row.bottom};
    DrawTextW(dc, suffix.data() + 1, int(suffix.size() - 1), &text, DT_NOPREFIX | DT_NOCLIP);
    SetTextColor(dc, colour);
}

void RowMarks::PaintEnds() noexcept {
    HWND tree = tvwTOC.hWnd();
    if (pending_.empty() || timer_ || !tree) return;
    timer_ = SetTimer(tree, reinterpret_cast<UINT_PTR>(this), 0, &RowMarks::on_timer) != 0;
}

void CALLBACK RowMarks::on_timer(HWND window, UINT, UINT_PTR id, DWORD) noexcept {
    KillTimer(window, id);
    auto* self = reinterpret_cast<RowMarks*>(id);
    self->timer_ = false;
    try {
        self->FetchCounts();
    } catch (...) {
        // A layer that fails to count shows no count (FetchCounts marks it); nothing else is lost.
    }
}

void RowMarks::FetchCounts() {
    std::vector<HTREEITEM> rows;
    rows.swap(pending_);
    for (HTREEITEM item : rows) {
        platform::NodePtr node = tvwTOC.Nodes().FromHandle(item);
        if (!node) continue;
        com::ComPtr<TocNode> record = TagOf(node);
        if (!record || record->FeatureCount != count_pending) continue;
        LONG n = count_none;
        com::ComPtr<IClassCounts> counts;
        if (record->Layer && SUCCEEDED(record->Layer->QueryInterface(IID_IClassCounts, counts.put_void())) && counts) {
            LONG got = 0;
            const HRESULT hr = IsLayerRow(*record.get()) ? counts->get_FeatureCount(&got)
                                                        : counts->get_ClassFeatureCount(record->Index, &got);
            if (SUCCEEDED(hr) && got >= 0) n = got;
        }
        record->FeatureCount = n;
        if (n >= 0) repaint(item);
    }
}

}  // namespace kelpy::draw
