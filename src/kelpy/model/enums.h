// The public enumerations of the KELPY type library, as scoped C++ enumerations (two of them
// share the name UniqueValue). Each is stored as a 32-bit integer, as in the type library.
#pragma once
#include <windows.h>

enum class TOCNodeType : LONG {
    Root = 0, Layer = 1, LayerSymbol = 2, GroupLayer = 3, RendererName = 4, RendererItem = 5, Holder = 6
};

enum class LayerType : LONG { FeatureLayer = 0, RasterLayer = 1 };

enum class RasterRendererType : LONG { RGB = 0, StretchColorRamp = 1, UniqueValue = 2, ClassifyColorRamp = 3 };

enum class FeatureRendererType : LONG {
    Simple = 0, ClassBreaks = 1, UniqueValue = 2, DotDensity = 3, BiUniqueValue = 4,
    PieChartRenderer = 5, BarChartRenderer = 6, PropportionalSymbols = 7, ScaleDependent = 8
};

// The tree view's hit-test flags, stored as they come.
enum class TreeviewHitTestCode : LONG {
    NOWHERE = 1, ONITEMICON = 2, ONITEMLABEL = 4, ONITEMINDENT = 8, ONITEMBUTTON = 16,
    ONITEMRIGHT = 32, ONITEMSTATEICON = 64
};

// What lies at a point of the control (ItemAt): the kind of item and the part of its row.
enum class TOCItemKind : LONG {
    ItemNone = 0, ItemRoot = 1, ItemLayer = 2, ItemGroupLayer = 3, ItemLegendHeading = 4,
    ItemLegendClass = 5, ItemLayerSymbol = 6, ItemHolder = 7
};

enum class TOCItemPart : LONG { PartNone = 0, PartCheck = 1, PartLabel = 2, PartSwatch = 3, PartIndent = 4, PartRight = 5 };
