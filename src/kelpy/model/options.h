// The control's options: what goes beyond its first interface, each off until the host switches
// it on through _TOC2 (and saved with the control's state). The control owns them; the builder,
// the painter and the interaction read them.
#pragma once

namespace kelpy {

struct Options {
    bool showNestedGroups = false;  // a group inside a group shows as a group item, at every depth
    bool dropAtMark = false;        // a drop goes exactly where the insert mark shows
    bool mixedGroupChecks = false;  // a group whose members are not all visible shows "mixed"
    bool allowRename = false;       // F2 or a second click on a layer's label edits its name
    bool showTips = false;          // a label the window cuts off shows whole in a tip
    bool showScaleRanges = false;   // a layer not drawn at the map's scale shows greyed
    bool showFeatureCounts = false; // layer and class rows show their feature counts
    double mapScale = 0;            // the host's scale denominator for the map (0: none)

    // The options of a control whose host never set any.
    static const Options& defaults() noexcept {
        static const Options none;
        return none;
    }
};

}  // namespace kelpy
