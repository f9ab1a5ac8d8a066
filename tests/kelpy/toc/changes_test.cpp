// The differences between two models of the table of contents, read before and after a change of
// the map: only the rows the change concerns are listed.
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include "com/bstr.h"
#include "com/error.h"
#include "kelpy/common/legend_builder.h"
#include "kelpy/common/map_builder.h"
#include "kelpy/toc/model_fixture.h"
#include "kelpy/toc/toc_changes.h"

using namespace test;
using kelpy::toc::Toc;

namespace {

// The changes, one line each: "- text" removed, "+ text under parent at place" inserted,
// "> text under parent at place" moved, "~ text: what" changed.
std::wstring describe(const Toc& before, const Toc& after, const kelpy::toc::Changes& changes) {
    auto under = [&](const kelpy::toc::Placed& p) {
        return after[p.row].text + L" under " + (p.parent < 0 ? L"top" : after[size_t(p.parent)].text) + L" at " +
               std::to_wstring(p.place);
    };
    std::wstring out;
    for (size_t i : changes.removed) out += L"- " + before[i].text + L"\n";
    for (const auto& p : changes.inserted) out += L"+ " + under(p) + L"\n";
    for (const auto& m : changes.moved) out += L"> " + under(m.after) + L"\n";
    for (const auto& c : changes.changed) {
        out += L"~ " + after[c.after].text + L":";
        const std::pair<unsigned, const wchar_t*> names[] = {
            {kelpy::toc::TextChanged, L" text"},         {kelpy::toc::ImageChanged, L" image"},
            {kelpy::toc::BoldChanged, L" bold"},         {kelpy::toc::ExpandedChanged, L" expanded"},
            {kelpy::toc::HeightChanged, L" height"},     {kelpy::toc::SymbolChanged, L" symbol"}};
        for (auto [bit, name] : names)
            if (c.what & bit) out += name;
        out += L"\n";
    }
    return out;
}

struct Layers {
    com::ComPtr<IMap> map;
    com::ComPtr<ILayer> roads, lakes, wells, group;
};

TEST(Changes, ListOnlyTheRowsAChangeOfTheMapConcerns) {
    const struct Case {
        const char* name;
        std::function<void(Layers&)> change;
        const wchar_t* expected;
    } cases[] = {
        {"nothing", [](Layers&) {}, L""},
        {"a drop within the map", [](Layers& m) { com::check(m.map->MoveLayer(m.wells.get(), 0)); },
         L"> Wells under World at 0\n"},
        {"a drop into a group",
         [](Layers& m) {
             com::check(m.map->DeleteLayer(m.roads.get()));
             com::check(m.group.as<IGroupLayer>()->Add(m.roads.get()));
         },
         L"> Roads under Base at 1\n"},
        {"a drop out of a group",
         [](Layers& m) {
             com::check(m.group.as<IGroupLayer>()->Delete(m.lakes.get()));
             append_layer(m.map.get(), m.lakes.get());
         },
         L"> Lakes under World at 3\n"},
        {"an added layer",
         [](Layers& m) {
             com::check(m.map->AddLayer(
                 rendered_feature_layer(L"Paths", GeometryPolyline, simple_renderer(line_symbol(0))).get()));
         },
         L"+ Paths under World at 0\n"
         L"+  under Paths at 0\n"},
        {"a deleted layer with its legend", [](Layers& m) { com::check(m.map->DeleteLayer(m.wells.get())); },
         L"- Wells\n"
         L"- \n"},
        {"a rename", [](Layers& m) { com::check(m.roads->put_Name(com::Bstr(L"Streets").get())); },
         L"~ Streets: text\n"},
        {"a hidden layer", [](Layers& m) { com::check(m.lakes->put_Visible(VARIANT_FALSE)); },
         L"~ Lakes: image\n"},
        {"a symbol changed",
         [](Layers& m) {
             com::ComPtr<IFeatureRenderer> renderer;
             com::check(m.wells.as<IFeatureRendering>()->get_Renderer(renderer.put()));
             com::check(renderer.as<ISimpleRenderer>()->putref_Symbol(marker_symbol(0xFF).get()));
         },
         L"~ : symbol\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Layers m;
        m.roads = rendered_feature_layer(L"Roads", GeometryPolyline,
                                         unique_value_renderer(L"KIND", {{L"1", L"Main", line_symbol(0)}}));
        m.lakes = feature_layer(L"Lakes");
        m.wells = rendered_feature_layer(L"Wells", GeometryPoint, simple_renderer(marker_symbol(0)));
        m.group = group_layer(L"Base", {m.lakes});
        m.map = make_map(L"World", {m.roads, m.group, m.wells});
        ModelSources sources;
        Toc before, after;
        sources.read(m.map, before);
        c.change(m);
        sources.read(m.map, after);
        EXPECT_EQ(describe(before, after, kelpy::toc::Compare(before, after)), c.expected);
    }
}

TEST(Changes, AReversedOrderMovesAllButOneAndALayerShownTwiceKeepsBothRows) {
    auto a = feature_layer(L"A"), b = feature_layer(L"B"), c = feature_layer(L"C");
    auto map = make_map(L"World", {a, b, c, group_layer(L"Base", {a})});
    ModelSources sources;
    Toc before, after;
    sources.read(map, before);
    com::check(map->MoveLayer(c.get(), 0));
    com::check(map->MoveLayer(b.get(), 1));
    sources.read(map, after);
    EXPECT_EQ(describe(before, after, kelpy::toc::Compare(before, after)),
              L"> C under World at 0\n"
              L"> B under World at 1\n");
}

}  // namespace
