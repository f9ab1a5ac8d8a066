// Saving map documents: a round trip keeps everything (every member a document gave comes back,
// the map draws the same, and saving the reloaded map gives the same bytes), and a save that
// fails leaves the file that was there byte for byte.
#include <nlohmann/json.hpp>
#include "common/registration.h"
#include "fixture.h"
#include "generator.h"

using namespace mm;
using nlohmann::json;

namespace {

constexpr HRESULT E_BAD_DOCUMENT = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0201);

// What the sample and the generated maps leave out: the members they do not give, other kinds
// of values, and texts beyond ASCII.
const char* const kEveryMember = R"({
  "name": "Every member \u2713 \u00e9",
  "units": "meters",
  "layers": [
    { "kind": "feature", "name": "Gradients", "valid": false, "visible": false, "shapeType": 7,
      "renderer": { "kind": "simple", "label": "All",
        "symbol": { "type": "gradient", "color": "#102030", "style": 0, "angle": 280.5, "intervals": 12,
          "outline": { "type": "line", "color": "#405060", "width": 0.25, "style": "dashDot" },
          "ramp": { "type": "multiPart", "name": "Two", "size": 9, "parts": [
            { "type": "algorithmic", "name": "A", "from": "#FF0000", "to": "#00FF00", "size": 5 },
            { "type": "algorithmic", "from": "#00FF00", "to": "#0000FF" } ] } } },
      "features": [
        { "polygon": [[0.1, 0.2], [10, 0], [5, -7.25]], "value": "one" },
        { "envelope": [1, 2, 3, 4], "value": -1.5e-7 },
        { "point": [3, 4] },
        { "path": [[0, 0], [1, 1]], "value": 1e300 } ] },
    { "kind": "feature", "name": "Pies", "shapeType": "multipoint",
      "renderer": { "kind": "pieChart", "proportionalBySum": true,
        "symbol": { "type": "pie", "size": 12.5, "slices": [ { "color": "#010203", "weight": 0.5 } ] } } },
    { "kind": "feature", "name": "Values", "shapeType": "point",
      "renderer": { "kind": "uniqueValue", "fields": ["A", "B", "C"],
        "values": [ { "value": "x", "label": "", "symbol": null, "hidden": true }, { "value": "y", "label": "" } ],
        "defaultSymbol": { "type": "fill", "style": "hollow", "outline": null }, "hidden": true } },
    { "kind": "feature", "name": "Breaks", "shapeType": "point", "minScale": 50000, "maxScale": 1000.5,
      "renderer": { "kind": "classBreaks", "field": "", "minimum": 0, "classes": [
        { "break": 1, "label": "", "symbol": null, "hidden": true }, { "break": 2, "label": "", "symbol": null } ] } },
    { "kind": "raster", "name": "Kinds", "extent": [0, 0, 2, 1], "columns": 2, "rows": 1, "cells": [[1, 2]],
      "renderer": { "kind": "uniqueValue", "field": "", "classes": [
        { "values": [ { "value": 1, "text": "one", "symbol": null } ], "hidden": true },
        [ { "value": 2, "text": "two", "symbol": null } ] ] } },
    { "kind": "raster", "name": "Classes", "extent": [0, 0, 2, 1], "columns": 2, "rows": 1, "cells": [[1, 2]],
      "renderer": { "kind": "classify", "field": "", "classes": [
        { "break": 1, "label": "", "symbol": null }, { "break": 2, "label": "", "symbol": null, "hidden": true } ] } },
    { "kind": "raster", "name": "Stretch", "extent": [-1, -2, 3, 4], "columns": 2, "rows": 1, "bands": 2,
      "cells": [[0.5, -3], [0.001, 2]],
      "renderer": { "kind": "stretch", "band": 1,
        "ramp": { "type": "algorithmic", "name": "Grey", "from": "#000000", "to": "#FFFFFF", "size": 256 } } },
    { "kind": "group", "name": "Nested", "visible": false, "maxScale": 20, "layers": [
      { "kind": "group", "name": "Inner", "layers": [ { "kind": "plain", "name": "Deep" } ] } ] }
  ]
})";

// Every member of `given` is in `saved` with the same value (numbers compared as numbers).
void expect_kept(const json& given, const json& saved, const std::string& where) {
    if (given.is_number() && saved.is_number()) {
        EXPECT_EQ(given.get<double>(), saved.get<double>()) << where;
    } else if (given.type() != saved.type()) {
        ADD_FAILURE() << where << ": given " << given.dump() << ", saved " << saved.dump().substr(0, 200);
    } else if (given.is_object()) {
        for (auto it = given.begin(); it != given.end(); ++it) {
            std::string at = where.empty() ? it.key() : where + "." + it.key();
            if (saved.contains(it.key())) expect_kept(it.value(), saved.at(it.key()), at);
            else ADD_FAILURE() << at << " was not saved";
        }
    } else if (given.is_array()) {
        ASSERT_EQ(given.size(), saved.size()) << where;
        for (size_t i = 0; i < given.size(); ++i) expect_kept(given[i], saved[i], where + "[" + std::to_string(i) + "]");
    } else {
        EXPECT_EQ(given, saved) << where;
    }
}

ComPtr<IMapDocument> opened(const std::wstring& path) {
    auto doc = create<IMapDocument>(CLSID_MapDocument);
    EXPECT_EQ(doc->Open(com::Bstr(path).get()), S_OK) << com::narrow(last_error());
    return doc;
}

ComPtr<IMap> map_of(IMapDocument* doc) {
    ComPtr<IMap> map;
    EXPECT_EQ(doc->get_Map(map.put()), S_OK);
    return map;
}

std::wstring path_of(IMapDocument* doc) {
    com::Bstr p;
    EXPECT_EQ(doc->get_Path(p.put()), S_OK);
    return p.str();
}

std::vector<COLORREF> picture(IMap* map) {
    WhiteBitmap bmp(240, 180);
    EXPECT_EQ(ComPtr<IMap>(map).as<IMapView>()->Output(reinterpret_cast<LONG_PTR>(bmp.dc()), 240, 180), S_OK);
    return bmp.pixels();
}

// Opens the document, saves it, checks the saved text against the source, and saves the
// reopened map again. Answers the saved text.
std::string round_trip(const std::wstring& source, const TempFolder& dir, const std::wstring& name) {
    auto doc = opened(source);
    std::wstring first = dir.file(name + L"-1.json"), second = dir.file(name + L"-2.json");
    EXPECT_EQ(doc->Save(com::Bstr(first).get()), S_OK) << com::narrow(last_error());
    EXPECT_EQ(path_of(doc.get()), first) << "a saved document's path is where it was saved";
    std::string saved = read_bytes(first);
    expect_kept(json::parse(read_bytes(source)), json::parse(saved), "");

    auto again = opened(first);
    EXPECT_EQ(picture(map_of(doc.get()).get()), picture(map_of(again.get()).get())) << "the reloaded map draws the same";
    EXPECT_EQ(again->Save(com::Bstr(second).get()), S_OK) << com::narrow(last_error());
    EXPECT_TRUE(read_bytes(second) == saved) << "saving the reloaded map gives the same bytes";
    return saved;
}

}  // namespace

TEST(DocumentSaving, RoundTripsKeepEveryMemberAndGiveTheSameBytes) {
    TempFolder dir;
    const std::string sample = round_trip(test::program_dir() + L"\\sample-map.json", dir, L"sample");
    for (const char* word : {"hidden", "minScale", "maxScale", "units"})
        EXPECT_EQ(sample.find(word), std::string::npos) << "a map that uses none of them saves none: " << word;

    write_bytes(dir.file(L"every.json"), kEveryMember);
    std::string every = round_trip(dir.file(L"every.json"), dir, L"every");
    EXPECT_FALSE(json::parse(every).contains("extent")) << "a map that follows its layers' extent keeps doing so";
    EXPECT_FALSE(json::parse(every)["layers"][6]["renderer"]["ramp"].is_null());

    // A large generated map: 400 layers in groups of 9, 16 classes and 12 features each.
    mapgen::Options large;
    large.layers = 400, large.classes = 16, large.groups = 9, large.features = 12;
    write_bytes(dir.file(L"large.json"), mapgen::text(large));
    round_trip(dir.file(L"large.json"), dir, L"large");
}

TEST(DocumentSaving, AFailedSaveKeepsTheOldFileByteForByte) {
    TempFolder dir;
    const std::string old = "{ \"name\": \"The old map\" }\n";
    std::wstring folder = dir.file(L"folder.json"), locked = dir.file(L"locked.json"), kept = dir.file(L"kept.json");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    write_bytes(locked, old);
    ASSERT_TRUE(SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    write_bytes(kept, old);

    std::wstring sample = test::program_dir() + L"\\sample-map.json";
    auto doc = opened(sample);
    struct Case {
        std::wstring path, why;
    } cases[] = {
        {folder, L"the path is a folder"},
        {locked, L"the file is read-only"},
        {dir.file(L"missing\\map.json"), L"the folder " + dir.file(L"missing") + L" does not exist"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(FAILED(doc->Save(com::Bstr(c.path).get()))) << com::narrow(c.path);
        EXPECT_EQ(last_error(), c.path + L": cannot save the document: " + c.why);
    }
    EXPECT_TRUE(GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(read_bytes(locked) == old);
    EXPECT_EQ(path_of(doc.get()), sample) << "a failed save keeps the document's path";

    // A map that a document cannot describe (a feature layer without a feature class).
    auto map = map_of(doc.get());
    auto bare = create<ILayer>(CLSID_FeatureLayer);
    ASSERT_EQ(map->AddLayer(bare.get()), S_OK);
    EXPECT_EQ(doc->Save(com::Bstr(kept).get()), E_BAD_DOCUMENT);
    EXPECT_EQ(last_error(), kept + L": cannot save the map: layers[0]: the feature layer has no feature class");
    EXPECT_TRUE(read_bytes(kept) == old);
    EXPECT_EQ(dir.names(), (std::vector<std::wstring>{L"folder.json", L"kept.json", L"locked.json"})) << "nothing left beside";

    // Without it the map saves over the old file.
    ASSERT_EQ(map->DeleteLayer(bare.get()), S_OK);
    ASSERT_EQ(doc->Save(com::Bstr(kept).get()), S_OK) << com::narrow(last_error());
    EXPECT_EQ(json::parse(read_bytes(kept))["name"], "Kelp Bay");
    EXPECT_EQ(dir.names(), (std::vector<std::wstring>{L"folder.json", L"kept.json", L"locked.json"}));
}
