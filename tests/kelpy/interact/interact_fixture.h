// The interaction tests' fixture: the control hosted by our own container in a topmost window, at
// run time, bound to a map with every kind of layer and legend; a person's mouse (input through
// the system's queue); a sink recording the control's events; a recorder of the map view's
// refreshes; a spy on the insert-mark and scroll messages the tree receives; a scripted symbol
// selector. The map:
//
//   Towns (points, one marker)        Roads (lines: Minor, Major, Highway)
//   Land use (group): Parks (polygons: values P "Park", G "Garden"), Water (one fill)
//   Population (pie charts)           Elevation (stretched ramp)
//   Soils (raster classes: [1 Clay], [2 Sand])   Slope (raster classes Flat, Steep)
//   Photo (red-green-blue)
#pragma once
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include "control_host.h"
#include "kelpy/common/event_sink.h"
#include "kelpy/common/message_spy.h"
#include "kelpy/common/faulty_group.h"
#include "kelpy/common/faulty_map.h"
#include "kelpy/common/item_lookup.h"
#include "kelpy/control/toc.h"
#include "scripted_selector.h"
#include "user_input.h"

namespace test {

// The view's refreshes, as the map reports them to its view-event sinks.
struct ViewRefresh {
    DrawPhase phase;
    com::ComPtr<IUnknown> data;  // the layer of a partial refresh, or Nothing
};

// The map's changes of its top-level layers, as it reports them to its view-event sinks.
struct MapChanges {
    int added = 0, deleted = 0, reordered = 0;
    std::function<void()> on_reordered;  // runs inside the map's notification of a reorder
};

class Interaction : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Binds the control to `m` (the fixture's map unless another is given).
    void bind(IMap* m);
    HWND tree() const;
    kelpy::platform::NodeCollection& nodes() const;
    // The first item with this text (made visible, scrolling the tree when needed).
    kelpy::NodePtr item(std::wstring_view text) const;
    // A point of an item's row on the screen where the tree's hit test answers `flags`.
    POINT at(std::wstring_view text, UINT flags = TVHT_ONITEMLABEL) const;
    POINT at(const kelpy::NodePtr& node, UINT flags) const;
    // A layer of the fixture's map by name (members of groups included).
    com::ComPtr<ILayer> layer(std::wstring_view name) const;
    // The map's layers as text, in drawing order, members in brackets:
    // "Towns, Roads, Land use [Parks, Water], ...".
    std::wstring order() const;
    // Every layer of the map with its depth (1 for the map's own), in the order of a walk down
    // the groups: "Towns@1, Land use@1, Parks@2, ..." (as the tree shows it with nested groups).
    std::wstring depths() const;
    // The text of the tree's selected item.
    std::wstring selected_text() const;
    bool visible(std::wstring_view name) const;

    // Every layer of the map sits in exactly one place (the map's top level or one group) and no
    // drag left anything behind: no capture, no timer, the default pointer, no insert mark.
    void expect_sound() const;

    com::ComPtr<IMap> map;                    // the real map
    com::ComPtr<FaultyMap> faulty;            // the map as the control sees it (fails on demand)
    com::ComPtr<FaultyGroup> land_use;        // the group layer (fails on demand)
    std::vector<com::ComPtr<ILayer>> layers;  // every layer of the map, groups and members too
    com::ComPtr<kelpy::Toc> toc;
    std::unique_ptr<host::ControlHost> host;
    com::ComPtr<RecordingSink> sink;
    std::unique_ptr<EventConnection> connection;
    std::vector<ViewRefresh> refreshes;
    MapChanges changes;
    std::unique_ptr<host::ScriptedSelector> selector;
    std::unique_ptr<MessageSpy> spy;

private:
    com::ComPtr<IUnknown> view_sink_;
    DWORD view_cookie_ = 0;
};

// The insert mark the tree was last told to show (0: none).
LPARAM last_mark(const MessageSpy& spy);

}  // namespace test
