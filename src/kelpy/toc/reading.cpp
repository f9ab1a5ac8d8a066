// Reading the map row by row, in the tree's order; every row is complete (or as far as a failure
// let it be) before the next is read, and each map call is made once, in the order in which the
// tree shows what it answers.
#include "kelpy/toc/reading.h"
#include <exception>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include "com/bstr.h"
#include "com/error.h"
#include "com/vbnum.h"
#include "kelpy/platform/random.h"

namespace kelpy::toc {

namespace {

com::ComPtr<TocNode> NewRecord(::TOCNodeType type) {
    com::ComPtr<TocNode> record = TocNode::create();
    record->TOCNodeType = type;
    return record;
}

// The rows of one layer's legend, each measured as it is taken: the record is made with the
// row's type, the reader's fill sets the other fields, a row with a symbol is measured; then the
// row is kept with the height its swatch needs and the record, and the swatch's size goes into
// the record. A failing step leaves what that order would: a row whose fields could not be set
// is kept without a record; a row whose measure failed is kept with its record as it was before
// the measure (and the standard height, unless the measure had found it before failing).
class LegendTaker final : public LegendRows {
public:
    LegendTaker(Toc& toc, size_t layerRow, SwatchMeasurer& measurer)
        : toc_(toc), layerRow_(layerRow), measurer_(measurer) {}

    void Add(std::wstring_view text, ::TOCNodeType type, const ClassKey& key, const Fill& fill) override {
        com::ComPtr<TocNode> record = NewRecord(type);
        bool filled = false;
        std::optional<SwatchMeasure> swatch;
        std::exception_ptr failure;
        try {
            fill(*record.get());
            filled = true;
            if (record->Symbol) swatch = measurer_.MeasureSwatch(*record.get());
        } catch (...) {
            failure = std::current_exception();
        }

        const RowId& layer = toc_[layerRow_].id;
        const uint64_t digest = DigestOf(key);
        Row row{.id = {.layer = layer.layer, .key = digest, .type = type, .place = layer.place,
                       .key_place = keyPlaces_[{type, digest}]++},
                .text = std::wstring(text),
                .parent = int32_t(layerRow_),
                .rows = swatch ? int32_t(swatch->rows) : 1};
        if (filled) row.record = record;
        toc_.Add(std::move(row));
        if (failure) std::rethrow_exception(failure);
        if (swatch) write_swatch(*record.get(), *swatch);
    }

private:
    struct Kind {
        ::TOCNodeType type;
        uint64_t key;
        friend bool operator==(const Kind&, const Kind&) = default;
    };
    struct KindHash {
        size_t operator()(const Kind& k) const noexcept { return size_t(k.key ^ (k.key >> 32)) * 31 + size_t(k.type); }
    };

    Toc& toc_;
    size_t layerRow_;
    SwatchMeasurer& measurer_;
    std::unordered_map<Kind, uint32_t, KindHash> keyPlaces_;
};

class Reader {
public:
    // `expected`: about how many rows the map will give (the last reading's), so that the
    // tables that grow with the layers are made large enough at once.
    Reader(const Sources& sources, Toc& toc, size_t expected)
        : sources_(sources), toc_(toc), checks_(sources.options.mixedGroupChecks) {
        places_.reserve(expected);
        layerNumbers_.reserve(expected);
    }

    void Map(const com::ComPtr<IMap>& map) {
        // The root, named after the map, bold; expanded once the whole map is read.
        com::Bstr mapName;
        com::check(map->get_Name(mapName.put()));
        const size_t root = toc_.Add(
            {.id = {.type = ::TOCNodeType::Root}, .text = mapName.str(), .record = NewRecord(::TOCNodeType::Root), .bold = true});

        // The map's layers in their order: group layers with their members, other layers.
        LONG count = 0;
        com::check(map->get_LayerCount(&count));
        com::for_int16(count, [&](int16_t i) {
            com::ComPtr<ILayer> layer;
            com::check(map->get_Layer(i, layer.put()));
            if (!layer) com::raise(com::CTL_E_OBJECTNOTSET, L"The map answered Nothing for its layer " + std::to_wstring(i));
            if (layer.query<IGroupLayer>()) Group(layer, root, uint32_t(i), nullptr);
            else Layer(layer, root, nullptr);
        });

        // The holder, the drop place below all layers.
        toc_.Add({.id = {.type = ::TOCNodeType::Holder}, .record = NewRecord(::TOCNodeType::Holder)});
        toc_[root].expanded = true;
    }

private:
    // The group row of a group layer at `position` in the map or its group, as the last child of
    // `parent`, and its members; `parentGroup` is the group that holds it (Nothing for a group
    // of the map). With nested groups shown, a member that is a group gets a group row of its
    // own.
    void Group(const com::ComPtr<ILayer>& layer, size_t parent, uint32_t position,
               const com::ComPtr<IGroupLayer>& parentGroup) {
        // The group and its member list are views of the same object.
        auto group = layer.as<IGroupLayer>();
        auto members = layer.as<ISubLayers>();
        const Check check = checks_.Of(layer.get(), false);
        com::Bstr name;
        com::check(layer->get_Name(name.put()));
        const bool atAdd = ExpandedAtAdd(name.view());
        const size_t row = Add(::TOCNodeType::GroupLayer, layer, parent, position, name.str(), check, atAdd);
        // The remembered state, given before the members are read.
        toc_[row].expanded = sources_.memory.Remembered(name.view());
        com::ComPtr<TocNode> record = NewRecord(::TOCNodeType::GroupLayer);
        record->Layer = layer;
        record->GroupLayer = parentGroup;
        toc_[row].record = record;
        // The members, whatever their kind; a group among them is a group row of its own when
        // nested groups are shown.
        LONG count = 0;
        com::check(members->get_Count(&count));
        com::for_int16(count, [&](int16_t j) {
            com::ComPtr<ILayer> member;
            com::check(members->get_Layer(j, member.put()));
            if (!member)
                com::raise(com::CTL_E_OBJECTNOTSET, L"The group layer " + name.str() +
                                                        L" answered Nothing for its member " + std::to_wstring(j));
            if (sources_.options.showNestedGroups && member.query<IGroupLayer>())
                Group(member, row, uint32_t(j), group);
            else
                Layer(member, row, group);
        });
    }

    // The row of a layer, as the last child of `parent`, with its legend; the group layer that
    // holds the layer (Nothing for a layer of the map) goes into its record.
    void Layer(const com::ComPtr<ILayer>& layer, size_t parent, const com::ComPtr<IGroupLayer>& groupLayer) {
        if (!layer) com::raise(com::CTL_E_OBJECTNOTSET, L"There is no layer to add");
        // The check: "disconnected" for a layer that is not valid, else its visibility.
        const Check check = checks_.Of(layer.get(), true);
        const uint32_t number = NewLayerNumber();
        com::Bstr name;
        com::check(layer->get_Name(name.put()));
        const bool expanded = ExpandedAtAdd(name.view());
        const size_t row = Add(::TOCNodeType::Layer, layer, parent, number, name.str(), check, expanded);
        com::ComPtr<TocNode> record = NewRecord(::TOCNodeType::Layer);
        record->Layer = layer;
        record->GroupLayer = groupLayer;
        toc_[row].record = record;
        // The legend of the layer's kind; other kinds of layers have none.
        try {
            LegendTaker rows(toc_, row, sources_.measurer);
            sources_.legend(layer, *record.get(), rows);
        } catch (...) {
            // A failed legend leaves the row with no expanded state of it.
            toc_[row].expanded = false;
            throw;
        }
        // The remembered state (already given with the row, unless the memory is missing, in
        // which case this is where the reading fails).
        toc_[row].expanded = sources_.memory.Remembered(name.view());
    }

    size_t Add(::TOCNodeType type, const com::ComPtr<ILayer>& layer, size_t parent, uint32_t number,
               std::wstring text, Check check, bool expanded) {
        com::ComPtr<IUnknown> identity = layer.as<IUnknown>();
        const uint32_t place = places_[{type, identity.get()}]++;
        return toc_.Add({.id = {.layer = std::move(identity), .type = type, .place = place},
                         .text = std::move(text),
                         .parent = int32_t(parent),
                         .number = number,
                         .check = check,
                         .expanded_at_add = expanded,
                         .expanded = expanded});
    }

    // The expanded state a row with this text gets with its insertion: the remembered one, or
    // collapsed while the memory does not exist (the reading then fails once the row is in).
    bool ExpandedAtAdd(std::wstring_view text) const {
        return sources_.memory.allocated() ? sources_.memory.Remembered(text) : false;
    }

    // The number of a layer's key ("l" followed by it), drawn at random, that no row has yet.
    uint32_t NewLayerNumber() {
        for (;;) {
            const double draw = double(platform::Rnd()) * 1000000.0 + 1.0;
            const auto number = uint32_t(com::round_half_even(draw));
            if (layerNumbers_.insert(number).second) return number;
        }
    }

    struct Seen {
        ::TOCNodeType type;
        IUnknown* identity;
        friend bool operator==(const Seen&, const Seen&) = default;
    };
    struct SeenHash {
        size_t operator()(const Seen& s) const noexcept { return std::hash<const void*>{}(s.identity) + size_t(s.type); }
    };

    const Sources& sources_;
    Toc& toc_;
    CheckImages checks_;
    std::unordered_map<Seen, uint32_t, SeenHash> places_;
    std::unordered_set<uint32_t> layerNumbers_;
};

}  // namespace

void Read(const com::ComPtr<IMap>& map, const Sources& sources, Toc& toc) {
    const size_t expected = toc.size();
    toc.Clear();  // keeps the room its rows took
    if (!map) return;
    Reader(sources, toc, expected).Map(map);
}

}  // namespace kelpy::toc
