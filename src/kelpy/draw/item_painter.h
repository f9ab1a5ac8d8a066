// ItemPainter: paints the tree's items that the control draws itself. It answers the tree's
// custom-draw notifications, paints legend rows (the row's symbol draws its swatch, the label
// follows), measures the swatches of legend rows and keeps what it measured during a rebuild and
// the swatches it painted lately. It works on the tree alone.
#pragma once
#include <windows.h>
#include <optional>
#include "com/ptr.h"
#include "kelpy/draw/label_rects.h"
#include "kelpy/draw/measuring.h"
#include "kelpy/draw/row_marks.h"
#include "kelpy/draw/swatch_cache.h"
#include "kelpy/model/records.h"
#include "kelpy/platform/dpi.h"
#include "kelpy/platform/tree_view.h"
#include "kelpy/tree/swatch_measurer.h"

namespace kelpy::draw {

class ItemPainter final : public tree::SwatchMeasurer {
public:
    explicit ItemPainter(platform::TreeView& tree, const Options& options = Options::defaults()) noexcept
        : tvwTOC(tree), m_marks(tree, options) {}
    ItemPainter(const ItemPainter&) = delete;
    ItemPainter& operator=(const ItemPainter&) = delete;

    // A notification the tree's parent received: the custom-draw answer for the tree's own
    // custom-draw notifications goes to `result`; every other notification passes untouched.
    void OnNotify(const NMHDR& header, LONG_PTR& result);
    // One tree item during the tree's custom draw; SkipDefault tells the tree to leave it.
    void DrawItem(const com::ComPtr<CustomDrawEventArgs>& args);

    // The swatch a legend row's symbol needs and the row's height, written nowhere: none for a
    // row without a symbol or a shape to measure it on.
    std::optional<SwatchMeasure> MeasureSwatch(const TocNode& record) override;
    // Measures the row's swatch and gives the row and its record the new height and size.
    void MeasureSymbol(const platform::NodePtr& node);

    // The resolution that swatches are measured and painted for (96 dpi until set); the
    // swatches painted for another one are forgotten.
    void SetDpi(platform::Dpi dpi) noexcept;
    platform::Dpi dpi() const noexcept { return m_dpi; }

    // The scale states and feature counts shown with the rows (row_marks.h).
    RowMarks& marks() noexcept { return m_marks; }

private:
    // While a rebuild runs, every symbol is measured once on a shape; at its start the rows of
    // the tree before are forgotten by the swatch cache (their swatches stay, found by likeness).
    void RebuildStarts() override;
    void RebuildEnds() noexcept override;

    // DrawItem for an item whose record was read already.
    void PaintItem(const com::ComPtr<CustomDrawEventArgs>& args, const platform::NodePtr& node,
                   const com::ComPtr<TocNode>& record);

    platform::TreeView& tvwTOC;
    MeasureMemo m_measures;
    std::optional<MeasureMemo::Rebuild> m_rebuild;
    SwatchCache m_swatches;
    LabelRects m_labels;
    RowMarks m_marks;
    platform::Dpi m_dpi;
};

}  // namespace kelpy::draw
