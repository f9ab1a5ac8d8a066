// Choosing a new symbol for a legend row: a left release on the row's swatch asks the host
// (OnSymbolSelector), shows the symbol selector over the control's window, shows the chosen
// symbol in the row and writes it into the layer's renderer at the row's place.
#include <functional>
#include "kelpy/interact/interact_fixture.h"
#include "com/bstr.h"
#include "kelpy/common/canvas.h"
#include "kelpy/common/legend_builder.h"
#include "kelpy/common/debug_output.h"
#include "tree_reader.h"
#include "kelpy/model/items.h"
#include "user_actions.h"

using namespace test;
using host::item_rect;

namespace {

constexpr COLORREF orange = RGB(255, 136, 0);

template <class R>
com::ComPtr<R> feature_renderer(const com::ComPtr<ILayer>& layer) {
    com::ComPtr<IFeatureRenderer> r;
    com::check(layer.as<IFeatureRendering>()->get_Renderer(r.put()));
    return r.as<R>();
}
template <class R>
com::ComPtr<R> raster_renderer(const com::ComPtr<ILayer>& layer) {
    com::ComPtr<IRasterRenderer> r;
    com::check(layer.as<IRasterLayer>()->get_Renderer(r.put()));
    return r.as<R>();
}

class SymbolChoice : public Interaction {
protected:
    // A legend row: the row with this text under the layer's item ("" for a row without text).
    kelpy::NodePtr row(std::wstring_view layer, std::wstring_view text) {
        for (const auto& r : children_of(nodes(), item(layer)))
            if (r->Text() == text) {
                r->EnsureVisible();
                return r;
            }
        throw std::runtime_error("no such row");
    }
    POINT swatch(std::wstring_view layer, std::wstring_view text) {
        return host::point_on_item(tree(), row(layer, text)->handle(), TVHT_ONITEMICON);
    }
    // The orange pixels the tree paints into a rectangle of its client area.
    int orange_pixels(const RECT& r) {
        RECT client{};
        GetClientRect(tree(), &client);
        Canvas canvas(client.right, client.bottom);
        SendMessageW(tree(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT | PRF_ERASEBKGND);
        return canvas.count(r, orange);
    }
};

TEST_F(SymbolChoice, TheHostOrThePersonCanDeclineAndNothingChanges) {
    auto roads = feature_renderer<IClassBreaksRenderer>(layer(L"Roads"));
    com::ComPtr<ISymbol> before;
    com::check(roads->get_Symbol(1, before.put()));
    const auto record_before = kelpy::RecordOf(row(L"Roads", L"Major"))->Symbol;

    sink->cancelEvents = {OnSymbolSelector};
    host::click(swatch(L"Roads", L"Major"));
    EXPECT_EQ(sink->count(OnSymbolSelector), 1u);
    EXPECT_EQ(selector->shown(), 0);

    sink->cancelEvents.clear();
    selector->answer({.confirm = false});
    host::click(swatch(L"Roads", L"Major"));
    EXPECT_EQ(selector->shown(), 1);

    com::ComPtr<ISymbol> after;
    com::check(roads->get_Symbol(1, after.put()));
    EXPECT_EQ(after, before);
    EXPECT_EQ(kelpy::RecordOf(row(L"Roads", L"Major"))->Symbol, record_before);
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), 0u);
}

// The snapshot tool's pick on a layer (user_actions.h) finds the layer's first row with a
// swatch from what the tree window shows: past a heading, and into a group's members.
TEST_F(SymbolChoice, ThePickOfTheSnapshotToolClicksALayersFirstRowWithASwatch) {
    const std::pair<std::wstring, std::wstring> picks[] = {{L"Roads", L"Minor"}, {L"Towns", L""}, {L"'Land use'", L"Park"}};
    for (const auto& [layer, row] : picks) {
        const int shown = selector->shown();
        snapshot::perform(*snapshot::parse_action(L"pick-symbol " + layer + L" #FF8800"), tree(), *selector);
        EXPECT_EQ(selector->shown(), shown + 1) << com::narrow(layer);
        EXPECT_EQ(selected_text(), row) << com::narrow(layer);
    }
}

// One row of each kind: where its renderer keeps the row's symbol, and how often the host hears
// OnBeforeRefreshMap (the write-back of a class refreshes the map itself, then the hook does).
struct Case {
    const wchar_t* layer;
    const wchar_t* row;
    std::function<com::ComPtr<ISymbol>(const com::ComPtr<ILayer>&)> written;
    bool writes;  // whether the renderer takes the chosen symbol
    size_t refreshes;
};

class EveryKindOfRow : public SymbolChoice, public ::testing::WithParamInterface<Case> {};

TEST_P(EveryKindOfRow, TakesTheChosenSymbolWhereItsRendererKeepsIt) {
    const Case& c = GetParam();
    const auto before = c.written(layer(c.layer));
    selector->answer({.confirm = true, .color = orange});
    host::click(swatch(c.layer, c.row));
    ASSERT_EQ(selector->shown(), 1);
    EXPECT_EQ(selector->owner(), host->window());  // modal over the host's window
    const auto chosen = selector->chosen();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(kelpy::RecordOf(row(c.layer, c.row))->Symbol, chosen);
    const auto after = c.written(layer(c.layer));
    EXPECT_EQ(after, c.writes ? chosen : before);
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), c.refreshes);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EveryKindOfRow,
    ::testing::Values(
        Case{L"Roads", L"Highway",
             [](auto& l) {
                 com::ComPtr<ISymbol> s;
                 com::check(feature_renderer<IClassBreaksRenderer>(l)->get_Symbol(2, s.put()));
                 return s;
             },
             true, 2},
        Case{L"Parks", L"Garden",  // keyed by the value at the row's place, not by the label
             [](auto& l) {
                 com::ComPtr<ISymbol> s;
                 com::check(feature_renderer<IUniqueValueRenderer>(l)->get_Symbol(com::Bstr(L"G").get(), s.put()));
                 return s;
             },
             true, 2},
        Case{L"Soils", L"Sand",  // value 0 of class 1
             [](auto& l) {
                 com::ComPtr<ISymbol> s;
                 com::check(raster_renderer<IRasterUniqueValueRenderer>(l)->get_Symbol(1, 0, s.put()));
                 return s;
             },
             true, 2},
        Case{L"Slope", L"Steep",
             [](auto& l) {
                 com::ComPtr<ISymbol> s;
                 com::check(raster_renderer<IRasterClassifyRenderer>(l)->get_Symbol(1, s.put()));
                 return s;
             },
             true, 2},
        Case{L"Towns", L"",  // the layer's one swatch
             [](auto& l) {
                 com::ComPtr<ISymbol> s;
                 com::check(feature_renderer<ISimpleRenderer>(l)->get_Symbol(s.put()));
                 return s;
             },
             true, 1},
        Case{L"Population", L"",  // a chart: the row shows the symbol, the renderer keeps its own
             [](auto& l) {
                 com::ComPtr<IChartSymbol> s;
                 com::check(feature_renderer<IChartRenderer>(l)->get_ChartSymbol(s.put()));
                 return s.template as<ISymbol>();
             },
             false, 1}),
    // Each case named by its layer (its test's name says which row kind failed).
    [](const ::testing::TestParamInfo<Case>& info) { return com::narrow(info.param.layer); });

TEST_F(SymbolChoice, RampsAndCompositeBandsNeverOpenTheSelector) {
    host::click(swatch(L"Elevation", L""));
    host::click(swatch(L"Photo", L"Red:    Band_1"));
    EXPECT_EQ(sink->count(OnSymbolSelector), 0u);
    EXPECT_EQ(selector->shown(), 0);
}

TEST_F(SymbolChoice, ARendererThatLostTheClassKeepsItsSymbols) {
    auto roads = feature_renderer<IClassBreaksRenderer>(layer(L"Roads"));
    ASSERT_EQ(roads->put_BreakCount(2), S_OK);  // no rebuild: the row of class 2 stays
    host::click(swatch(L"Roads", L"Highway"));
    ASSERT_EQ(selector->shown(), 1);
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), 1u);  // the hook's refresh only
    com::ComPtr<ISymbol> s;
    EXPECT_EQ(roads->get_Symbol(1, s.put()), S_OK);
    EXPECT_NE(s, selector->chosen());
}

// The tree rebuilt while the selector was open (here by the host): the row is gone, but the
// symbol the person confirmed still reaches the renderer, the tree shows it, the map is redrawn
// once. Where the renderer lost the class meanwhile, the host hears of it.
TEST_F(SymbolChoice, ASymbolConfirmedAfterARebuildIsKept) {
    auto roads = feature_renderer<IClassBreaksRenderer>(layer(L"Roads"));
    selector->answer({.confirm = true, .color = orange, .while_open = [&] { ASSERT_EQ(toc->Reset(), S_OK); }});
    host::click(swatch(L"Roads", L"Major"));
    com::ComPtr<ISymbol> written;
    com::check(roads->get_Symbol(1, written.put()));
    EXPECT_EQ(written, selector->chosen());
    EXPECT_GT(orange_pixels(item_rect(tree(), row(L"Roads", L"Major")->handle(), false)), 10);
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), 1u);

    test::DebugOutput output;
    test::DebugOutput::take();
    selector->answer({.confirm = true, .color = orange, .while_open = [&] {
                          ASSERT_EQ(roads->put_BreakCount(1), S_OK);
                          ASSERT_EQ(toc->Reset(), S_OK);
                      }});
    host::click(swatch(L"Roads", L"Highway"));
    EXPECT_NE(test::DebugOutput::take().find(L"no longer holds the class"), std::wstring::npos);
    EXPECT_EQ(sink->count(OnBeforeRefreshMap), 1u);
}

// Classes inserted before the row while the selector was open, and the tree rebuilt: the symbol
// goes to the row's class, found by its break (class breaks) or its value (unique values), not to
// the class that took the row's old place.
TEST_F(SymbolChoice, ASymbolConfirmedAfterARebuildFindsItsClassWhereverItMoved) {
    auto roads = feature_renderer<IClassBreaksRenderer>(layer(L"Roads"));
    const com::ComPtr<ISymbol> medium = line_symbol(RGB(1, 2, 3));
    selector->answer({.confirm = true, .color = orange, .while_open = [&] {
                          // Minor 10, Major 20, Highway 30 become Minor, Medium 15, Major, Highway.
                          ASSERT_EQ(roads->put_BreakCount(4), S_OK);
                          for (LONG i = 3; i >= 2; --i) {
                              double bound = 0;
                              com::Bstr label;
                              com::ComPtr<ISymbol> symbol;
                              com::check(roads->get_Break(i - 1, &bound));
                              com::check(roads->get_Label(i - 1, label.put()));
                              com::check(roads->get_Symbol(i - 1, symbol.put()));
                              com::check(roads->put_Break(i, bound));
                              com::check(roads->put_Label(i, label.get()));
                              com::check(roads->putref_Symbol(i, symbol.get()));
                          }
                          com::check(roads->put_Break(1, 15));
                          com::check(roads->put_Label(1, com::Bstr(L"Medium").get()));
                          com::check(roads->putref_Symbol(1, medium.get()));
                          ASSERT_EQ(toc->Reset(), S_OK);
                      }});
    host::click(swatch(L"Roads", L"Major"));
    com::ComPtr<ISymbol> at_old_place, at_major;
    com::check(roads->get_Symbol(1, at_old_place.put()));
    com::check(roads->get_Symbol(2, at_major.put()));
    EXPECT_EQ(at_old_place, medium);
    EXPECT_EQ(at_major, selector->chosen());

    // Garden, the second value, becomes the first: a value is added between it and Park.
    auto parks = feature_renderer<IUniqueValueRenderer>(layer(L"Parks"));
    com::ComPtr<ISymbol> park;
    com::check(parks->get_Symbol(com::Bstr(L"P").get(), park.put()));
    const com::ComPtr<ISymbol> nursery = solid_fill(RGB(1, 2, 3));
    selector->answer({.confirm = true, .color = orange, .while_open = [&] {
                          com::check(parks->RemoveValue(com::Bstr(L"P").get()));
                          com::check(parks->AddValue(com::Bstr(L"N").get(), com::Bstr(L"Nursery").get(), nursery.get()));
                          com::check(parks->AddValue(com::Bstr(L"P").get(), com::Bstr(L"Park").get(), park.get()));
                          ASSERT_EQ(toc->Reset(), S_OK);
                      }});
    host::click(swatch(L"Parks", L"Garden"));
    const auto symbol_of = [&](const wchar_t* value) {
        com::ComPtr<ISymbol> symbol;
        com::check(parks->get_Symbol(com::Bstr(value).get(), symbol.put()));
        return symbol;
    };
    EXPECT_EQ(symbol_of(L"G"), selector->chosen());
    EXPECT_EQ(symbol_of(L"N"), nursery);
    EXPECT_EQ(symbol_of(L"P"), park);
}

TEST_F(SymbolChoice, TheRowShowsTheNewSwatchAtItsNewSize) {
    auto height_of = [&] {
        return item_rect(tree(), row(L"Towns", L"")->handle(), false);
    };
    const RECT before = height_of();
    EXPECT_EQ(orange_pixels(before), 0);
    selector->answer({.confirm = true, .color = orange, .size = 30});
    host::click(swatch(L"Towns", L""));
    const RECT after = height_of();
    EXPECT_GT(after.bottom - after.top, before.bottom - before.top);
    EXPECT_GT(orange_pixels(after), 100);
}

}  // namespace
