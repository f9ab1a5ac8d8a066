// Every class answers exactly the roles it plays: the control tells kinds apart by these
// tests, so a missing role or an extra one would change what it shows.
#include "fixture.h"
#include <map>

using namespace mm;

namespace {

struct Role {
    const IID* iid;
    const char* name;
};

#define ROLE(I) Role{&__uuidof(I), #I}
const Role kRoles[] = {
    ROLE(IMap), ROLE(IMapView), ROLE(IConnectionPointContainer), ROLE(ILayer), ROLE(IGroupLayer), ROLE(ISubLayers),
    ROLE(IFeatureLayer), ROLE(IFeatureRendering), ROLE(IRasterLayer), ROLE(IFeatureClass), ROLE(IFeatureRenderer),
    ROLE(ISimpleRenderer), ROLE(IClassBreaksRenderer), ROLE(IUniqueValueRenderer), ROLE(IChartRenderer),
    ROLE(IPieChartRenderer), ROLE(IRasterRenderer), ROLE(IRasterRgbRenderer), ROLE(IRasterStretchRenderer),
    ROLE(IRasterUniqueValueRenderer), ROLE(IRasterClassifyRenderer), ROLE(ISymbol), ROLE(ICloneable),
    ROLE(ILineSymbol), ROLE(IMarkerSymbol), ROLE(IFillSymbol), ROLE(ISolidFillSymbol), ROLE(IGradientFillSymbol),
    ROLE(IChartSymbol), ROLE(IGeometry), ROLE(IEnvelope), ROLE(IPoint), ROLE(ISegment), ROLE(ILine), ROLE(IPolygon),
    ROLE(IPolyline), ROLE(ITransformation), ROLE(IDisplayTransformation), ROLE(IColor), ROLE(IRgbColor),
    ROLE(IColorRamp), ROLE(IAlgorithmicColorRamp), ROLE(IMultiPartColorRamp), ROLE(ISymbolSelector),
    ROLE(IMapDocument), ROLE(IModelInfo), ROLE(IMultipoint), ROLE(IDataFile), ROLE(IRendererMaker),
    ROLE(IClassVisibility), ROLE(IScaleRange), ROLE(IMapScale), ROLE(IClassCounts),
};
#undef ROLE

struct Expected {
    const CLSID* clsid;
    const char* name;
    std::vector<const IID*> roles;
};

const std::vector<Expected>& table() {
    static const std::vector<Expected> t = {
        {&CLSID_Map, "Map", {&__uuidof(IMap), &__uuidof(IMapView), &__uuidof(IConnectionPointContainer), &__uuidof(IMapScale)}},
        {&CLSID_FeatureLayer, "FeatureLayer",
         {&__uuidof(ILayer), &__uuidof(IFeatureLayer), &__uuidof(IFeatureRendering), &__uuidof(IScaleRange),
          &__uuidof(IClassCounts)}},
        {&CLSID_GroupLayer, "GroupLayer", {&__uuidof(ILayer), &__uuidof(IGroupLayer), &__uuidof(ISubLayers), &__uuidof(IScaleRange)}},
        {&CLSID_RasterLayer, "RasterLayer", {&__uuidof(ILayer), &__uuidof(IRasterLayer), &__uuidof(IScaleRange)}},
        {&CLSID_PlainLayer, "PlainLayer", {&__uuidof(ILayer), &__uuidof(IScaleRange)}},
        {&CLSID_FeatureClass, "FeatureClass", {&__uuidof(IFeatureClass)}},
        {&CLSID_SimpleRenderer, "SimpleRenderer", {&__uuidof(ISimpleRenderer), &__uuidof(IFeatureRenderer)}},
        {&CLSID_ClassBreaksRenderer, "ClassBreaksRenderer",
         {&__uuidof(IClassBreaksRenderer), &__uuidof(IFeatureRenderer), &__uuidof(IClassVisibility)}},
        {&CLSID_UniqueValueRenderer, "UniqueValueRenderer",
         {&__uuidof(IUniqueValueRenderer), &__uuidof(IFeatureRenderer), &__uuidof(IClassVisibility)}},
        {&CLSID_PieChartRenderer, "PieChartRenderer",
         {&__uuidof(IPieChartRenderer), &__uuidof(IChartRenderer), &__uuidof(IFeatureRenderer)}},
        {&CLSID_RasterRgbRenderer, "RasterRgbRenderer", {&__uuidof(IRasterRgbRenderer), &__uuidof(IRasterRenderer)}},
        {&CLSID_RasterStretchRenderer, "RasterStretchRenderer", {&__uuidof(IRasterStretchRenderer), &__uuidof(IRasterRenderer)}},
        {&CLSID_RasterUniqueValueRenderer, "RasterUniqueValueRenderer",
         {&__uuidof(IRasterUniqueValueRenderer), &__uuidof(IRasterRenderer), &__uuidof(IClassVisibility)}},
        {&CLSID_RasterClassifyRenderer, "RasterClassifyRenderer",
         {&__uuidof(IRasterClassifyRenderer), &__uuidof(IRasterRenderer), &__uuidof(IClassVisibility)}},
        {&CLSID_SolidFillSymbol, "SolidFillSymbol",
         {&__uuidof(ISymbol), &__uuidof(ICloneable), &__uuidof(IFillSymbol), &__uuidof(ISolidFillSymbol)}},
        {&CLSID_GradientFillSymbol, "GradientFillSymbol",
         {&__uuidof(ISymbol), &__uuidof(ICloneable), &__uuidof(IFillSymbol), &__uuidof(IGradientFillSymbol)}},
        {&CLSID_LineSymbol, "LineSymbol", {&__uuidof(ISymbol), &__uuidof(ICloneable), &__uuidof(ILineSymbol)}},
        {&CLSID_MarkerSymbol, "MarkerSymbol", {&__uuidof(ISymbol), &__uuidof(ICloneable), &__uuidof(IMarkerSymbol)}},
        {&CLSID_PieChartSymbol, "PieChartSymbol", {&__uuidof(ISymbol), &__uuidof(ICloneable), &__uuidof(IChartSymbol)}},
        {&CLSID_Envelope, "Envelope", {&__uuidof(IGeometry), &__uuidof(IEnvelope), &__uuidof(ICloneable)}},
        {&CLSID_Point, "Point", {&__uuidof(IGeometry), &__uuidof(IPoint), &__uuidof(ICloneable)}},
        {&CLSID_Line, "Line", {&__uuidof(IGeometry), &__uuidof(ISegment), &__uuidof(ILine), &__uuidof(ICloneable)}},
        {&CLSID_PolygonShape, "PolygonShape", {&__uuidof(IGeometry), &__uuidof(IPolygon), &__uuidof(ICloneable)}},
        {&CLSID_PolylineShape, "PolylineShape", {&__uuidof(IGeometry), &__uuidof(IPolyline), &__uuidof(ICloneable)}},
        {&CLSID_MultipointShape, "MultipointShape", {&__uuidof(IGeometry), &__uuidof(IMultipoint), &__uuidof(ICloneable)}},
        {&CLSID_DataFile, "DataFile", {&__uuidof(IDataFile)}},
        {&CLSID_RendererMaker, "RendererMaker", {&__uuidof(IRendererMaker)}},
        {&CLSID_DisplayTransformation, "DisplayTransformation",
         {&__uuidof(ITransformation), &__uuidof(IDisplayTransformation)}},
        {&CLSID_RgbColor, "RgbColor", {&__uuidof(IColor), &__uuidof(IRgbColor), &__uuidof(ICloneable)}},
        {&CLSID_AlgorithmicColorRamp, "AlgorithmicColorRamp",
         {&__uuidof(IColorRamp), &__uuidof(IAlgorithmicColorRamp), &__uuidof(ICloneable)}},
        {&CLSID_MultiPartColorRamp, "MultiPartColorRamp",
         {&__uuidof(IColorRamp), &__uuidof(IMultiPartColorRamp), &__uuidof(ICloneable)}},
        {&CLSID_ModelInfo, "ModelInfo", {&__uuidof(IModelInfo)}},
    };
    return t;
}

}  // namespace

TEST(Roles, EveryClassAnswersExactlyItsRoles) {
    for (const Expected& e : table()) {
        auto object = create<IUnknown>(*e.clsid);
        ASSERT_TRUE(object) << e.name;
        for (const Role& r : kRoles) {
            bool expected = std::find(e.roles.begin(), e.roles.end(), r.iid) != e.roles.end();
            ComPtr<IUnknown> answer;
            HRESULT hr = object->QueryInterface(*r.iid, answer.put_void());
            EXPECT_EQ(SUCCEEDED(hr), expected) << e.name << " as " << r.name;
            if (!expected) {
                EXPECT_EQ(hr, E_NOINTERFACE) << e.name << " as " << r.name;
            }
        }
        EXPECT_TRUE(has<IDispatch>(object.get())) << e.name;
    }
}

TEST(Roles, EveryRoleOfAnObjectLeadsBackToTheSameIdentity) {
    for (const Expected& e : table()) {
        auto object = create<IUnknown>(*e.clsid);
        for (const IID* iid : e.roles) {
            ComPtr<IUnknown> role, back;
            ASSERT_EQ(object->QueryInterface(*iid, role.put_void()), S_OK) << e.name;
            ASSERT_EQ(role->QueryInterface(IID_IUnknown, back.put_void()), S_OK);
            EXPECT_EQ(back.get(), object.get()) << e.name;
            // Each role reaches every other role.
            for (const IID* other : e.roles) {
                ComPtr<IUnknown> sibling;
                EXPECT_EQ(role->QueryInterface(*other, sibling.put_void()), S_OK) << e.name;
            }
        }
    }
}

TEST(Roles, ReferenceCountsAreExact) {
    auto layer = create<ILayer>(CLSID_FeatureLayer);
    ILayer* raw = layer.get();
    EXPECT_EQ(raw->AddRef(), 2u);
    EXPECT_EQ(raw->Release(), 1u);
    {
        auto rendering = layer.as<IFeatureRendering>();
        EXPECT_EQ(raw->AddRef(), 3u);
        EXPECT_EQ(raw->Release(), 2u);
    }
    EXPECT_EQ(raw->AddRef(), 2u);
    EXPECT_EQ(raw->Release(), 1u);

    // A renderer holds its symbol by reference: one more count while it does.
    auto symbol = create<ISymbol>(CLSID_SolidFillSymbol);
    auto renderer = create<ISimpleRenderer>(CLSID_SimpleRenderer);
    ASSERT_EQ(renderer->putref_Symbol(symbol.get()), S_OK);
    EXPECT_EQ(symbol->AddRef(), 3u);
    EXPECT_EQ(symbol->Release(), 2u);
    ASSERT_EQ(renderer->putref_Symbol(nullptr), S_OK);
    EXPECT_EQ(symbol->AddRef(), 2u);
    EXPECT_EQ(symbol->Release(), 1u);
}

TEST(Roles, ScriptsReachMembersByName) {
    auto layer = create<IDispatch>(CLSID_FeatureLayer);
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"Name")};
    DISPID id = 0;
    ASSERT_EQ(layer->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    VARIANT arg;
    arg.vt = VT_BSTR;
    arg.bstrVal = SysAllocString(L"Rivers");
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS put{&arg, &named, 1, 1};
    EXPECT_EQ(layer->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr), S_OK);
    VariantClear(&arg);
    EXPECT_EQ(name_of(layer.as<ILayer>().get()), L"Rivers");
}
