#include "kelpy/interact/interact_fixture.h"
#include <algorithm>
#include <map>
#include <stdexcept>
#include "com/bstr.h"
#include "kelpy/common/legend_builder.h"
#include "kelpy/common/map_builder.h"
#include "tree_reader.h"
#include "kelpy/platform/mouse_pointer.h"
#include "map_text.h"

namespace test {

using host::read_item;
using host::selected_item;

namespace {

// Records the view's refreshes; every other notification is ignored.
class ViewRecorder final : public com::ComObject<ViewRecorder, IMapViewEvents> {
public:
    ViewRecorder(std::vector<ViewRefresh>& out, MapChanges& changes) : out_(out), changes_(changes) {}
    STDMETHODIMP ContentsChanged() override { return S_OK; }
    STDMETHODIMP ContentsCleared() override { return S_OK; }
    STDMETHODIMP ItemAdded(VARIANT) override { ++changes_.added; return S_OK; }
    STDMETHODIMP ItemDeleted(VARIANT) override { ++changes_.deleted; return S_OK; }
    STDMETHODIMP ItemReordered(VARIANT, LONG) override {
        ++changes_.reordered;
        if (changes_.on_reordered) changes_.on_reordered();
        return S_OK;
    }
    STDMETHODIMP SelectionChanged() override { return S_OK; }
    STDMETHODIMP ViewRefreshed(DrawPhase phase, VARIANT data, VARIANT) override {
        out_.push_back({phase, data.vt == VT_UNKNOWN || data.vt == VT_DISPATCH ? data.punkVal : nullptr});
        return S_OK;
    }
    STDMETHODIMP AfterDraw(LONG_PTR, DrawPhase) override { return S_OK; }
    STDMETHODIMP AfterItemDraw(LONG, LONG_PTR, DrawPhase) override { return S_OK; }
    STDMETHODIMP FocusChanged() override { return S_OK; }
    STDMETHODIMP ExtentChanged() override { return S_OK; }

private:
    std::vector<ViewRefresh>& out_;
    MapChanges& changes_;
};

std::wstring name_of(ILayer* layer) {
    com::Bstr name;
    com::check(layer->get_Name(name.put()));
    return std::wstring(name.view());
}

// Visits every layer of the map, members of groups included, with its depth.
template <class F>
void each_layer(ILayer* layer, int depth, F&& visit) {
    visit(layer, depth);
    auto members = com::ComPtr<ILayer>(layer).query<ISubLayers>();
    if (!members) return;
    LONG n = 0;
    com::check(members->get_Count(&n));
    for (LONG i = 0; i < n; ++i) {
        com::ComPtr<ILayer> member;
        com::check(members->get_Layer(i, member.put()));
        each_layer(member.get(), depth + 1, visit);
    }
}

template <class F>
void each_layer(IMap* map, F&& visit) {
    LONG n = 0;
    com::check(map->get_LayerCount(&n));
    for (LONG i = 0; i < n; ++i) {
        com::ComPtr<ILayer> layer;
        com::check(map->get_Layer(i, layer.put()));
        each_layer(layer.get(), 0, visit);
    }
}

}  // namespace

// ---- the spy

LPARAM last_mark(const MessageSpy& spy) {
    auto marks = spy.of(TVM_SETINSERTMARK);
    return marks.empty() ? 0 : marks.back().lp;
}

// ---- the fixture

void Interaction::SetUp() {
    const COLORREF green = RGB(0, 128, 0), blue = RGB(0, 0, 255), grey = RGB(128, 128, 128);
    auto parks = rendered_feature_layer(
        L"Parks", GeometryPolygon,
        unique_value_renderer(L"KIND", {{L"P", L"Park", solid_fill(green)}, {L"G", L"Garden", solid_fill(RGB(0, 200, 0))}}));
    auto water = rendered_feature_layer(L"Water", GeometryPolygon, simple_renderer(solid_fill(blue)));
    land_use = FaultyGroup::wrap(group_layer(L"Land use", {parks, water}));
    layers = {
        rendered_feature_layer(L"Towns", GeometryPoint, simple_renderer(marker_symbol(RGB(200, 0, 0)))),
        rendered_feature_layer(L"Roads", GeometryPolyline,
                               class_breaks_renderer(L"LANES", {{L"Minor", line_symbol(grey)},
                                                                {L"Major", line_symbol(RGB(90, 90, 90), 2)},
                                                                {L"Highway", line_symbol(RGB(0, 0, 0), 3)}})),
        land_use->layer(),
        rendered_feature_layer(L"Population", GeometryPoint,
                               pie_chart_renderer(pie_symbol({RGB(255, 0, 0), RGB(0, 0, 255)}))),
        rendered_raster_layer(L"Elevation", stretch_renderer(color_ramp(RGB(0, 0, 128), RGB(255, 255, 0)))),
        rendered_raster_layer(L"Soils", raster_unique_renderer(L"CLASS", {{{L"1", L"Clay", solid_fill(RGB(150, 100, 50))}},
                                                                          {{L"2", L"Sand", solid_fill(RGB(240, 220, 130))}}})),
        rendered_raster_layer(L"Slope", raster_classify_renderer(L"DEGREES", {{L"Flat", solid_fill(RGB(220, 255, 220))},
                                                                              {L"Steep", solid_fill(RGB(120, 0, 0))}})),
        rendered_raster_layer(L"Photo", rgb_renderer()),
    };
    map = make_map(L"Sample", {});
    for (const auto& l : layers) append_layer(map.get(), l.get());
    layers.push_back(parks);
    layers.push_back(water);
    faulty = FaultyMap::wrap(map);

    sink = RecordingSink::make();
    auto recorder = ViewRecorder::create(refreshes, changes);
    view_sink_ = recorder->unknown();
    com::ComPtr<IConnectionPoint> point;
    com::check(map.as<IConnectionPointContainer>()->FindConnectionPoint(IID_IMapViewEvents, point.put()));
    com::check(point->Advise(view_sink_.get(), &view_cookie_));

    toc = kelpy::Toc::create();
    host::HostOptions options;
    options.userMode = true;
    options.width = 280;
    options.height = 600;
    options.position = {40, 40};
    options.topmost = true;
    host = std::make_unique<host::ControlHost>(toc->unknown(), options);
    connection = std::make_unique<EventConnection>(toc->unknown(), sink.get());
    selector = std::make_unique<host::ScriptedSelector>();
    bind(faulty.get());
    spy = std::make_unique<MessageSpy>(tree(), std::vector<UINT>{TVM_SETINSERTMARK, WM_VSCROLL});
    host::pump_messages();
    sink->events.clear();
}

void Interaction::TearDown() {
    // The pointer leaves the test's windows for a corner where no test has one: a window that
    // appears under the pointer would be sent a mouse move.
    host::move_mouse({GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
    spy.reset();
    connection.reset();
    host.reset();
    selector.reset();
    com::ComPtr<IConnectionPoint> point;
    if (SUCCEEDED(map.as<IConnectionPointContainer>()->FindConnectionPoint(IID_IMapViewEvents, point.put())))
        point->Unadvise(view_cookie_);
}

void Interaction::bind(IMap* m) {
    IMap* argument = m;
    ASSERT_EQ(toc->Initialize(&argument), S_OK);
}

HWND Interaction::tree() const { return toc->tree().hWnd(); }

kelpy::platform::NodeCollection& Interaction::nodes() const { return toc->tree().Nodes(); }

kelpy::NodePtr Interaction::item(std::wstring_view text) const {
    kelpy::NodePtr node = item_named(nodes(), text);
    if (!node) throw std::runtime_error("no item " + std::string(text.begin(), text.end()));
    node->EnsureVisible();
    return node;
}

POINT Interaction::at(std::wstring_view text, UINT flags) const { return at(item(text), flags); }

POINT Interaction::at(const kelpy::NodePtr& node, UINT flags) const {
    node->EnsureVisible();
    return host::point_on_item(tree(), node->handle(), flags);
}

com::ComPtr<ILayer> Interaction::layer(std::wstring_view name) const {
    for (const auto& l : layers)
        if (name_of(l.get()) == name) return l;
    throw std::runtime_error("no layer " + std::string(name.begin(), name.end()));
}

std::wstring Interaction::order() const { return host::layer_order(map.get()); }

std::wstring Interaction::depths() const {
    std::wstring text;
    each_layer(map.get(), [&](ILayer* l, int depth) {
        text += (text.empty() ? L"" : L", ") + name_of(l) + L"@" + std::to_wstring(depth + 1);
    });
    return text;
}

std::wstring Interaction::selected_text() const {
    HTREEITEM item = selected_item(tree());
    return item ? read_item(tree(), item).text : L"";
}

bool Interaction::visible(std::wstring_view name) const {
    VARIANT_BOOL v = VARIANT_FALSE;
    com::check(layer(name)->get_Visible(&v));
    return v != VARIANT_FALSE;
}

void Interaction::expect_sound() const {
    std::map<IUnknown*, int> seen;
    std::vector<com::ComPtr<IUnknown>> keep;
    each_layer(map.get(), [&](ILayer* l, int) {
        com::ComPtr<IUnknown> identity = com::ComPtr<ILayer>(l).as<IUnknown>();
        ++seen[identity.get()];
        keep.push_back(identity);
    });
    for (const auto& l : layers)
        EXPECT_EQ(seen[l.as<IUnknown>().get()], 1) << "layer " << com::narrow(name_of(l.get())) << " in " << com::narrow(order());
    EXPECT_EQ(seen.size(), layers.size()) << com::narrow(order());
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(toc->interaction().dragging());
    EXPECT_FALSE(toc->TimerRunning());
    EXPECT_EQ(kelpy::platform::GetMousePointer(), kelpy::platform::MousePointer::Default);
    EXPECT_EQ(last_mark(*spy), 0);
}

}  // namespace test
