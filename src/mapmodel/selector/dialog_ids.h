// The items of the symbol selector dialog, for hosts and tests that drive it.
#pragma once

namespace mapmodel::selector_ids {

constexpr int kPreview = 100;    // owner-drawn picture of the symbol as it will be
constexpr int kColor = 101;      // edit: the colour as #RRGGBB
constexpr int kPickColor = 102;  // button: opens the colour chooser
constexpr int kSizeLabel = 103;  // "Size:", "Width:" or "Outline width:"
constexpr int kSize = 104;       // edit: size or width in points
constexpr int kStyle = 105;      // drop-down list of the kind's styles
constexpr int kProblem = 106;    // what is wrong with the input, if anything

}  // namespace mapmodel::selector_ids
