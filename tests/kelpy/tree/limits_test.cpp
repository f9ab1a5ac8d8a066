// Class positions are signed 16-bit: a renderer with more than 32768 classes fails before its
// first row, one with exactly 32768 after its last.
#include "kelpy/tree/fake_renderers.h"
#include "kelpy/tree/legend_fixture.h"

using namespace test;

TEST_F(Legends, MoreThan32768ValuesOverflowBeforeTheFirstRow) {
    auto layer = rendered_feature_layer(L"Parcels", GeometryPolygon, ManyValuesRenderer::make(32769));
    EXPECT_EQ(show({layer}), CTL_E_OVERFLOW);
    auto legend = rows(L"Parcels");
    ASSERT_EQ(legend.size(), 1u);
    EXPECT_EQ(legend[0]->Text(), L"CODE");
}

TEST_F(Legends, Exactly32768ValuesAddEveryRowThenOverflow) {
    auto layer = rendered_feature_layer(L"Parcels", GeometryPolygon, ManyValuesRenderer::make(32768));
    EXPECT_EQ(show({layer}), CTL_E_OVERFLOW);
    auto legend = rows(L"Parcels");
    ASSERT_EQ(legend.size(), 32769u);
    EXPECT_EQ(legend[1]->Text(), L"label 0");
    EXPECT_EQ(legend.back()->Text(), L"label 32767");
    EXPECT_EQ(record(legend.back())->Index, 32767);
    // The failed legend leaves its layer item without the restored state.
    EXPECT_FALSE(layer_item(L"Parcels")->Expanded());
}

TEST_F(Legends, RasterClassesHaveTheSameLimit) {
    auto layer = rendered_raster_layer(L"Heights", ManyClassesRasterRenderer::make(40000));
    EXPECT_EQ(show({layer}), CTL_E_OVERFLOW);
    auto legend = rows(L"Heights");
    ASSERT_EQ(legend.size(), 1u);
    EXPECT_EQ(legend[0]->Text(), L"VALUE");
}
