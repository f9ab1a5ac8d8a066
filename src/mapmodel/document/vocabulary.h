// The words with which map documents name the values of the model's enumerations: line, fill
// and marker styles and shape types. The loader reads them and the saver writes them, from
// these same tables.
#pragma once
#include <span>
#include "mapmodel/typelib.h"

namespace mapmodel::document {

template <class E>
struct Word {
    const wchar_t* word;
    E value;
};

inline constexpr Word<LineStyle> kLineStyles[] = {
    {L"solid", LineSolid}, {L"dash", LineDash}, {L"dot", LineDot}, {L"dashDot", LineDashDot}, {L"none", LineNull}};

inline constexpr Word<FillStyle> kFillStyles[] = {{L"solid", FillSolid},       {L"hollow", FillHollow},
                                                  {L"horizontal", FillHorizontal}, {L"vertical", FillVertical},
                                                  {L"cross", FillCross},       {L"diagonal", FillDiagonal}};

inline constexpr Word<MarkerStyle> kMarkerStyles[] = {
    {L"circle", MarkerCircle}, {L"square", MarkerSquare}, {L"cross", MarkerCross}, {L"x", MarkerX}, {L"diamond", MarkerDiamond}};

// Shape types may also be given as numbers: a feature class keeps any code.
inline constexpr Word<long> kShapeTypes[] = {
    {L"point", GeometryPoint}, {L"multipoint", GeometryMultipoint}, {L"polyline", GeometryPolyline}, {L"polygon", GeometryPolygon}};

// The word of a value, or null when the table has none.
template <class E>
const wchar_t* word_of(std::span<const Word<E>> words, E value) {
    for (const auto& w : words)
        if (w.value == value) return w.word;
    return nullptr;
}

}  // namespace mapmodel::document
