// RowMarks: what the control shows with a row beyond the tree's own drawing, while the host
// switches it on: a layer the map does not draw at its present scale (ShowScaleRanges) shows its
// label greyed and in italics, with its legend rows greyed; a layer row and the class rows of a
// layer that counts its features (ShowFeatureCounts) show the count after the label, in a
// lighter colour. The state of each row is kept on its record (TocNode::OutOfScale,
// TocNode::FeatureCount), so that painting asks the model nothing:
//   - the scale states are worked out when the map's scale may have changed (UpdateScales, after
//     ExtentChanged, ViewRefreshed, ContentsChanged, a rebuild, and when an option is put): only
//     the rows whose state changed are repainted;
//   - counts are asked for after a paint: the rows a paint showed without a known count are
//     noted, and when the paint ends a zero-delay timer of the tree's window (its callback, so
//     no window procedure is involved) asks the layers and repaints those rows. They are kept
//     until the map reports changed contents (ForgetCounts).
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <string_view>
#include <vector>
#include "com/ptr.h"
#include "kelpy/model/options.h"
#include "kelpy/model/records.h"
#include "kelpy/platform/tree_view.h"
#include "win/handles.h"

namespace kelpy::draw {

// The states of TocNode::FeatureCount besides a count.
constexpr LONG count_unknown = -1;  // not asked yet
constexpr LONG count_pending = -2;  // noted by a paint, asked for after it
constexpr LONG count_none = -3;     // the layer does not count (or failed to)

// A number with the user's digit grouping and no decimals ("1,204"), written into `out` (room
// for `size` characters); answers the length.
int FormatCount(double value, wchar_t* out, int size) noexcept;
// The count as the row shows it after its label: " [1,204]"; empty for a row without a count.
std::wstring_view CountSuffix(const TocNode& record, wchar_t (&buffer)[40]) noexcept;
// A scale denominator with three significant digits and the user's digit grouping
// ("260,000,000").
std::wstring FormatScale(double denominator);
// For a row the map does not draw at its scale: "Not drawn at this scale (1:N); drawn from 1:A
// to 1:B" ("any" for an open end); empty for other rows.
std::wstring ScaleNote(const TocNode& record);
// What screen readers hear as the row's description: its count ("1,204 features") and its
// scale note, either or both; empty for a row with neither.
std::wstring RowDescription(const TocNode& record);
// The width in pixels of the row's count as painted after its label in the tree's font (0 for a
// row without a count).
LONG CountWidth(HWND tree, const TocNode& record);
// Whether the record is a layer's or group's own row.
bool IsLayerRow(const TocNode& record) noexcept;

class RowMarks {
public:
    RowMarks(platform::TreeView& tree, const Options& options) noexcept : tvwTOC(tree), options_(options) {}
    ~RowMarks();
    RowMarks(const RowMarks&) = delete;
    RowMarks& operator=(const RowMarks&) = delete;

    // The map whose scale the rows follow (the one the control shows and hears), or none; a map
    // let go of is forgotten only when it is the one followed.
    void Follow(IMap* map) noexcept { map_ = map; }
    void Unfollow(IMap* map) noexcept {
        if (map_.get() == map) map_.reset();
    }
    // Works out for every row whether the map draws its layer at the map's present scale (the
    // map's IMapScale, else the host's MapScale) and repaints the rows whose state changed.
    // With the option off, or without a scale, no row is out of scale. Also after a rebuild,
    // whose rows are new.
    void UpdateScales();
    // The map's contents changed: every count is asked for again at the next paint.
    void ForgetCounts();

    // ---- during a paint of the tree
    // A paint cycle starts: the custom-draw answer for its start.
    LONG_PTR PaintStarts() noexcept;
    // A row the tree draws itself is about to be drawn: greyed and italic when out of scale;
    // answers the custom-draw flags to add.
    LONG_PTR BeforeTreeRow(NMTVCUSTOMDRAW& draw, TocNode& record);
    // After the tree drew a layer row: its count after the label.
    void AfterTreeRow(const NMTVCUSTOMDRAW& draw, const TocNode& record);
    // A legend row the control paints: its label's colour, and its count after the label.
    COLORREF LabelColour(const TocNode& record) const noexcept;
    void CountAfter(HDC dc, HTREEITEM item, TocNode& record, LONG x, const RECT& row);
    // The paint cycle ends: counts noted during it are asked for after it.
    void PaintEnds() noexcept;

    // Asks the layers for the noted counts and repaints their rows (the timer's work; public
    // for tests that drive it without a message loop).
    void FetchCounts();

private:
    static void CALLBACK on_timer(HWND window, UINT, UINT_PTR id, DWORD) noexcept;
    void note_count(HTREEITEM item, TocNode& record);
    void repaint(HTREEITEM item) const;

    platform::TreeView& tvwTOC;
    const Options& options_;
    std::vector<HTREEITEM> pending_;  // rows whose counts a paint noted
    bool timer_ = false;
    com::ComPtr<IMap> map_;
    win::Font italic_;
    HFONT italicOf_ = nullptr;  // the font the italic one was made from
};

}  // namespace kelpy::draw
