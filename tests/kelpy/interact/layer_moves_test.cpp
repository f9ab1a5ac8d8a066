// LayerMoves on a map model of our own that counts its calls and fails a run of them: every move
// with each of its calls failing alone, and with two calls in a row failing (and the groups
// refusing every layer afterwards). After each failing move the first failure is the one
// reported, and every layer sits in exactly one place: where it was (the exact old order when
// one call failed), where the move put it, or at the top of the map.
#include <gtest/gtest.h>
#include <functional>
#include <map>
#include <string>
#include <vector>
#include "com/boundary.h"
#include "com/bstr.h"
#include "com/error.h"
#include "com/object.h"
#include "kelpy/common/faulty_layer.h"
#include "kelpy/interact/layer_moves.h"

namespace {

using kelpy::interact::LayerMoves;
using Layers = std::vector<com::ComPtr<ILayer>>;

// The calls of one model: call `first` and the `count - 1` after it fail; with `refuse`, every
// Add of a group layer from `first` on fails too.
struct Calls {
    int made = 0, first = 0, count = 0;
    bool refuse = false;

    template <class F>
    HRESULT run(REFIID iid, bool group_add, F&& body) {
        const int n = ++made;
        const bool fails = (n >= first && n < first + count) || (refuse && group_add && first && n >= first);
        return com::boundary(iid, [&] {
            if (fails) com::raise(E_FAIL, L"Model call " + std::to_wstring(n) + L" failed on purpose", L"Fake");
            body();
        });
    }
};

size_t find(const Layers& layers, ILayer* layer) {
    for (size_t i = 0; i < layers.size(); ++i)
        if (com::same_object(layers[i].get(), layer)) return i;
    return layers.size();
}

void remove(Layers& layers, ILayer* layer) {
    const size_t i = find(layers, layer);
    if (i == layers.size()) com::raise(E_INVALIDARG, L"Not there");
    layers.erase(layers.begin() + ptrdiff_t(i));
}

void give(ILayer** out, const Layers& layers, LONG index) {
    if (index < 0 || size_t(index) >= layers.size()) com::raise(E_INVALIDARG, L"No such index");
    *out = com::ComPtr<ILayer>(layers[size_t(index)]).detach();
}

class FakeGroup final : public com::ComObject<FakeGroup, IGroupLayer, ISubLayers> {
public:
    FakeGroup(std::wstring name, Calls& calls) : name_(std::move(name)), calls_(calls) {}
    void* query_more(REFIID riid) noexcept { return riid == IID_ILayer ? static_cast<IGroupLayer*>(this) : nullptr; }
    Layers members;

    STDMETHODIMP GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Name(BSTR* name) override { return *name = SysAllocString(name_.c_str()), S_OK; }
    STDMETHODIMP put_Name(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_Valid(VARIANT_BOOL* v) override { return *v = VARIANT_TRUE, S_OK; }
    STDMETHODIMP put_Valid(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP get_Visible(VARIANT_BOOL* v) override { return *v = VARIANT_TRUE, S_OK; }
    STDMETHODIMP put_Visible(VARIANT_BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP Add(ILayer* layer) override {
        return calls_.run(IID_IGroupLayer, true, [&] { members.push_back(com::ComPtr<ILayer>(layer)); });
    }
    STDMETHODIMP Delete(ILayer* layer) override {
        return calls_.run(IID_IGroupLayer, false, [&] { remove(members, layer); });
    }
    STDMETHODIMP Clear() override { return E_NOTIMPL; }
    STDMETHODIMP get_Count(LONG* n) override { return calls_.run(IID_ISubLayers, false, [&] { *n = LONG(members.size()); }); }
    STDMETHODIMP get_Layer(LONG index, ILayer** layer) override {
        return calls_.run(IID_ISubLayers, false, [&] { give(layer, members, index); });
    }

private:
    std::wstring name_;
    Calls& calls_;
};

class FakeMap final : public com::ComObject<FakeMap, IMap> {
public:
    explicit FakeMap(Calls& calls) : calls_(calls) {}
    Layers layers;

    STDMETHODIMP GetTypeInfoCount(UINT* n) override { return *n = 0, S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP get_Name(BSTR* name) override { return *name = SysAllocString(L"Map"), S_OK; }
    STDMETHODIMP put_Name(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP get_LayerCount(LONG* n) override { return calls_.run(IID_IMap, false, [&] { *n = LONG(layers.size()); }); }
    STDMETHODIMP get_Layer(LONG index, ILayer** layer) override {
        return calls_.run(IID_IMap, false, [&] { give(layer, layers, index); });
    }
    // At the top, as the model's map adds.
    STDMETHODIMP AddLayer(ILayer* layer) override {
        return calls_.run(IID_IMap, false, [&] { layers.insert(layers.begin(), com::ComPtr<ILayer>(layer)); });
    }
    STDMETHODIMP DeleteLayer(ILayer* layer) override { return calls_.run(IID_IMap, false, [&] { remove(layers, layer); }); }
    STDMETHODIMP MoveLayer(ILayer* layer, LONG to) override {
        return calls_.run(IID_IMap, false, [&] {
            if (to < 0 || size_t(to) >= layers.size()) com::raise(E_INVALIDARG, L"No such index");
            com::ComPtr<ILayer> moved(layer);
            remove(layers, layer);
            layers.insert(layers.begin() + to, moved);
        });
    }
    STDMETHODIMP ClearLayers() override { return E_NOTIMPL; }

private:
    Calls& calls_;
};

std::wstring name_of(ILayer* layer) {
    com::Bstr name;
    layer->get_Name(name.put());
    return std::wstring(name.view());
}

// The map  A, G [B, C, D], E, H [F]  and the layers by name.
struct Model {
    Calls calls;
    com::ComPtr<FakeMap> map = FakeMap::create(calls);
    com::ComPtr<FakeGroup> g = FakeGroup::create(L"G", calls), h = FakeGroup::create(L"H", calls);
    std::map<std::wstring, com::ComPtr<ILayer>> by_name;

    Model() {
        for (const wchar_t* name : {L"A", L"B", L"C", L"D", L"E", L"F"}) by_name[name] = test::FaultyLayer::make(name, 0);
        by_name[L"G"] = layer(g);
        by_name[L"H"] = layer(h);
        g->members = {at(L"B"), at(L"C"), at(L"D")};
        h->members = {at(L"F")};
        map->layers = {at(L"A"), at(L"G"), at(L"E"), at(L"H")};
    }
    static com::ComPtr<ILayer> layer(const com::ComPtr<FakeGroup>& group) { return com::ComPtr<ILayer>(static_cast<IGroupLayer*>(group.get())); }
    const com::ComPtr<ILayer>& at(const wchar_t* name) { return by_name.at(name); }
    com::ComPtr<IGroupLayer> group(const wchar_t* name) { return at(name).as<IGroupLayer>(); }

    // The outline, read without calls: "A, G [B, C, D], E, H [F]".
    std::wstring outline() const {
        std::wstring text;
        for (const auto& layer : map->layers) {
            text += (text.empty() ? L"" : L", ") + name_of(layer.get());
            for (FakeGroup* group : {g.get(), h.get()}) {
                if (!com::same_object(layer.get(), static_cast<IGroupLayer*>(group))) continue;
                std::wstring inner;
                for (const auto& member : group->members) inner += (inner.empty() ? L"" : L", ") + name_of(member.get());
                text += L" [" + inner + L"]";
            }
        }
        return text;
    }
    // Where each layer sits ("map", "G", "H"), once per place it sits in.
    std::multimap<std::wstring, std::wstring> places() const {
        std::multimap<std::wstring, std::wstring> where;
        for (const auto& layer : map->layers) where.emplace(name_of(layer.get()), L"map");
        for (const auto& member : g->members) where.emplace(name_of(member.get()), L"G");
        for (const auto& member : h->members) where.emplace(name_of(member.get()), L"H");
        return where;
    }
};

struct Move {
    const char* name;
    const wchar_t* layer;  // the layer moved
    const wchar_t* to;     // its new container
    std::function<void(Model&, LayerMoves&)> run;
};

TEST(LayerMoves, AFailedMoveLosesAndDuplicatesNothingAndReportsTheFirstFailure) {
    const Move moves[] = {
        {"into a group", L"A", L"G", [](Model& m, LayerMoves& l) { l.IntoGroup(m.at(L"A"), nullptr, m.group(L"G")); }},
        {"from group to group", L"C", L"H",
         [](Model& m, LayerMoves& l) { l.IntoGroup(m.at(L"C"), m.group(L"G"), m.group(L"H")); }},
        {"out of a group, beside a layer", L"C", L"map",
         [](Model& m, LayerMoves& l) { l.OutOfGroup(m.at(L"C"), m.group(L"G"), [&] { return l.IndexInMap(m.at(L"E")); }); }},
        {"within a group", L"D", L"G", [](Model& m, LayerMoves& l) { l.MoveTo(m.at(L"D"), m.group(L"G"), {m.group(L"G"), 0}); }},
        {"into a group at a place", L"E", L"G", [](Model& m, LayerMoves& l) { l.MoveTo(m.at(L"E"), nullptr, {m.group(L"G"), 1}); }},
        {"out of a group to a place", L"B", L"map", [](Model& m, LayerMoves& l) { l.MoveTo(m.at(L"B"), m.group(L"G"), {nullptr, 2}); }},
        {"within the map", L"A", L"map", [](Model& m, LayerMoves& l) { l.MoveTo(m.at(L"A"), nullptr, {nullptr, 3}); }},
    };
    struct Run {
        int count;
        bool refuse;
    };
    const Run runs[] = {{1, false}, {2, false}, {2, true}};
    for (const Move& move : moves) {
        Model clean;
        const std::wstring before = clean.outline();
        const std::multimap<std::wstring, std::wstring> home = clean.places();
        const com::ComPtr<IMap> clean_map(clean.map.get());
        LayerMoves clean_moves(clean_map);
        move.run(clean, clean_moves);
        const int calls = clean.calls.made;
        const std::wstring after = clean.outline();
        ASSERT_NE(after, before) << move.name;
        for (const Run& run : runs) {
            for (int k = 1; k <= calls; ++k) {
                SCOPED_TRACE(std::string(move.name) + ", call " + std::to_string(k) + " and " + std::to_string(run.count - 1) +
                             " after it failing" + (run.refuse ? ", groups refusing" : ""));
                Model m;
                const com::ComPtr<IMap> map(m.map.get());
                LayerMoves service(map);
                m.calls.first = k;
                m.calls.count = run.count;
                m.calls.refuse = run.refuse;
                try {
                    move.run(m, service);
                    ADD_FAILURE() << "the move succeeded";
                } catch (const com::ComError& e) {
                    EXPECT_EQ(e.hr(), E_FAIL);
                    EXPECT_EQ(e.description(), L"Model call " + std::to_wstring(k) + L" failed on purpose");
                }
                const std::multimap<std::wstring, std::wstring> now = m.places();
                for (const auto& [name, container] : home) {
                    ASSERT_EQ(now.count(name), 1u) << com::narrow(name) << " in " << com::narrow(m.outline());
                    const std::wstring& sits = now.find(name)->second;
                    const bool moved_there = name == move.layer && sits == move.to;
                    EXPECT_TRUE(sits == container || moved_there || sits == L"map")
                        << com::narrow(name) << " in " << com::narrow(m.outline());
                }
                if (run.count == 1) EXPECT_EQ(m.outline(), before);
            }
        }
    }
}

}  // namespace
