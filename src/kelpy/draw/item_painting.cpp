// DrawItem: one tree item during the tree's custom draw. Legend rows are painted by the control:
// the row's symbol draws itself into an off-screen bitmap of the measured swatch size, which is
// copied beside the label, and the label follows (for a stretched raster ramp, "High" and
// "Low"). The holder row stays blank. All other items are left to the tree. A swatch painted
// lately is copied from the swatch cache instead of being drawn again (swatch_cache.h).
#include <string_view>
#include <utility>
#include "com/error.h"
#include "kelpy/draw/item_painter.h"
#include "kelpy/draw/symbol_factories.h"
#include "win/handles.h"
#include "kelpy/model/items.h"
#include "kelpy/tree/renderer_kinds.h"

namespace kelpy::draw {

namespace {
// Where the swatch goes relative to the label rectangle, and where the label text starts.
constexpr LONG swatch_offset_x = -23;
constexpr LONG swatch_offset_y = 2;
constexpr LONG text_offset_y = 3;
// The words at the ends of a stretched ramp, in a column this far right of the swatch's left.
constexpr LONG ramp_text_right = 100;
constexpr LONG ramp_text_bottom_inset = 3;
constexpr std::wstring_view ramp_high = L"High";
constexpr std::wstring_view ramp_low = L"Low";

SwatchShape swatch_shape(const TocNode& record, LONG W, LONG H, platform::Dpi px) {
    // Areas (polygons, squares and ramps) fill the upper part of the swatch; other shapes sit in
    // the middle of the whole swatch.
    if (tree::SwatchFormOf(record) != tree::SwatchForm::LayerShape || record.ShapeType == GeometryPolygon)
        return {px(1), px(10), W - px(6), H - px(10), GeometryPolygon};
    return {px(1), px(1), W - px(6), H - px(5), record.ShapeType};
}

// The symbol set up on a device context, reset at the end even when drawing fails, so that the
// symbol never keeps a context that is about to be deleted.
class SymbolSession {
public:
    SymbolSession(const com::ComPtr<ISymbol>& symbol, HDC dc, ITransformation* transformation) : symbol_(symbol) {
        com::check(symbol_->SetupDC(reinterpret_cast<LONG_PTR>(dc), transformation));
    }
    ~SymbolSession() {
        if (symbol_) symbol_->ResetDC();
    }
    SymbolSession(const SymbolSession&) = delete;
    SymbolSession& operator=(const SymbolSession&) = delete;
    void Draw(IGeometry* shape) { com::check(symbol_->Draw(shape)); }
    void ResetDC() { com::check(std::exchange(symbol_, nullptr)->ResetDC()); }

private:
    com::ComPtr<ISymbol> symbol_;
};

void draw_text(HDC dc, std::wstring_view text, RECT rect, UINT format) {
    DrawTextW(dc, text.data(), int(text.size()), &rect, format);
}
}  // namespace

void ItemPainter::DrawItem(const com::ComPtr<CustomDrawEventArgs>& args) {
    // 1-2. The item and its record; the swatch's place beside the label.
    if (!args->Node) return;
    platform::NodePtr node = platform::Node::From(args->Node.get());
    if (!node) com::raise(com::CTL_E_TYPEMISMATCH, L"The item to draw is not an item of the tree");
    PaintItem(args, node, RecordOf(node));
}

void ItemPainter::PaintItem(const com::ComPtr<CustomDrawEventArgs>& args, const platform::NodePtr& node,
                            const com::ComPtr<TocNode>& held) {
    const TocNode& record = *held.get();
    const com::ComPtr<CRect>& label = args->Rect;
    if (!label) com::raise(com::CTL_E_OBJECTNOTSET, L"The item to draw has no rectangle");
    const platform::Dpi px = m_dpi;
    const LONG x0 = label->Left + px(swatch_offset_x);
    const LONG y0 = label->Top + px(swatch_offset_y);
    const HDC dc = reinterpret_cast<HDC>(args->hdc);

    // 3. Legend rows are the control's; the holder row stays blank; the rest is the tree's.
    if (record.TOCNodeType == ::TOCNodeType::Holder) {
        args->SkipDefault = true;
        return;
    }
    if (!tree::IsSwatchRow(record)) return;

    // 4-7. The shape and the symbol; a row without either shows nothing at all. A swatch that
    // was painted lately for the same symbol (or one that paints alike), size and shape is
    // copied as it was painted.
    const LONG H = record.SymbolHeight;
    const LONG W = record.SymbolWidth;
    const SwatchShape s = swatch_shape(record, W, H, px);
    com::ComPtr<ISymbol> symbol = record.Symbol;
    const SwatchLook look{symbol.get(), W, H, s};
    std::optional<SymbolLikeness> likeness;
    if (!symbol || !m_swatches.copy(held, look, dc, x0, y0, likeness)) {
        com::ComPtr<IGeometry> shape = CreateSymbolGeometry(s.x, s.y, s.width, s.height, s.shapeType);
        if (!shape) symbol = nullptr;
        if (symbol) {
            // 8-9. A white bitmap of the swatch's size, off screen.
            win::MemoryDC memory(CreateCompatibleDC(dc));
            win::Bitmap bitmap(CreateCompatibleBitmap(dc, W, H));
            win::Selection selected(memory.get(), bitmap.get());
            const RECT all{0, 0, W, H};
            FillRect(memory.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            // 10-12. The symbol draws itself on the shape, one world unit per pixel. A context
            // without a resolution gives no transformation: the swatch then stays white.
            com::ComPtr<ITransformation> transformation =
                CreateTransFromDC(reinterpret_cast<LONG_PTR>(memory.get()), W, H);
            if (transformation) {
                auto display = transformation.as<IDisplayTransformation>();
                com::check(display->put_ScaleRatio(1.0));
                com::check(display->put_QualityRatio(1.5));
                com::check(display->put_Units(2));
                com::check(display->put_Resolution(double(px.value())));
                SymbolSession session(symbol, memory.get(), transformation.get());
                session.Draw(shape.get());
                session.ResetDC();
            }
            // 13. One copy beside the label; what the symbol drew is kept for the repaints.
            BitBlt(dc, x0, y0, W, H, memory.get(), 0, 0, SRCCOPY);
            if (transformation) m_swatches.keep(held, look, std::move(likeness), dc, memory.get());
        }  // 14. The bitmap leaves the memory context before both are deleted.
    }
    if (symbol) {
        // 15-16. The label of a class row (a LayerSymbol row shows its swatch only).
        RECT text{label->Left, label->Top + px(text_offset_y), label->Right, label->Bottom};
        switch (tree::LabelOf(record)) {
        case tree::RowLabel::Text: {
            const COLORREF colour = SetTextColor(dc, m_marks.LabelColour(record));
            draw_text(dc, node->Text(), text, 0);
            SetTextColor(dc, colour);
            m_marks.CountAfter(dc, node->handle(), *held.get(), label->Right, text);
            break;
        }
        case tree::RowLabel::RampEnds:
            text.right = x0 + px(ramp_text_right);
            text.bottom = label->Bottom - px(ramp_text_bottom_inset);
            draw_text(dc, ramp_high, text, 0);
            draw_text(dc, ramp_low, text, DT_SINGLELINE | DT_BOTTOM);
            break;
        case tree::RowLabel::None:
            break;
        }
    }
    // 17. The tree draws nothing of its own for a legend row.
    args->SkipDefault = true;
}

}  // namespace kelpy::draw
