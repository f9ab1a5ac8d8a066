#include "com/connection_point.h"
#include "com/object.h"

namespace com {

namespace {

// Item policies of the two enumerators: each handed-out item carries its own reference.
struct ConnectionItem {
    using type = CONNECTDATA;
    static void add_ref(const CONNECTDATA& c) { if (c.pUnk) c.pUnk->AddRef(); }
    static void release(CONNECTDATA& c) { if (c.pUnk) c.pUnk->Release(); }
};
struct PointItem {
    using type = IConnectionPoint*;
    static void add_ref(IConnectionPoint* p) { if (p) p->AddRef(); }
    static void release(IConnectionPoint* p) { if (p) p->Release(); }
};

// An enumerator over a snapshot taken when it was made; the snapshot holds one reference
// per item.
template <class IEnum, class Item>
class SnapshotEnum final : public ComObject<SnapshotEnum<IEnum, Item>, IEnum> {
public:
    using T = typename Item::type;
    explicit SnapshotEnum(std::vector<T> items, size_t pos = 0) : items_(std::move(items)), pos_(pos) {
        for (const T& t : items_) Item::add_ref(t);
    }
    ~SnapshotEnum() override {
        for (T& t : items_) Item::release(t);
    }

    STDMETHODIMP Next(ULONG count, T* out, ULONG* fetched) override {
        if (!out || (count > 1 && !fetched)) return E_POINTER;
        ULONG n = 0;
        while (n < count && pos_ < items_.size()) {
            out[n] = items_[pos_++];
            Item::add_ref(out[n]);
            ++n;
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        size_t left = items_.size() - pos_;
        if (count > left) { pos_ = items_.size(); return S_FALSE; }
        pos_ += count;
        return S_OK;
    }
    STDMETHODIMP Reset() override { pos_ = 0; return S_OK; }
    STDMETHODIMP Clone(IEnum** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        try {
            auto* copy = SnapshotEnum::create(items_, pos_);
            *out = copy;
            return S_OK;
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

private:
    std::vector<T> items_;
    size_t pos_;
};

using ConnectionsEnum = SnapshotEnum<IEnumConnections, ConnectionItem>;
using PointsEnum = SnapshotEnum<IEnumConnectionPoints, PointItem>;

}  // namespace

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid != IID_IUnknown && riid != IID_IConnectionPoint) return E_NOINTERFACE;
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = iid_;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
    if (!out) return E_POINTER;
    *out = &container_;
    container_.AddRef();
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    ComPtr<IUnknown> typed;
    if (FAILED(sink->QueryInterface(iid_, typed.put_void())) || !typed) return CONNECT_E_CANNOTCONNECT;
    try {
        sinks_.push_back({next_cookie_, std::move(typed)});
    } catch (...) {
        return E_OUTOFMEMORY;
    }
    *cookie = next_cookie_++;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
        if (it->cookie == cookie) {
            // Release after the entry is gone: the sink's destructor may call back into us.
            ComPtr<IUnknown> released = std::move(it->sink);
            sinks_.erase(it);
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    try {
        std::vector<CONNECTDATA> items;
        items.reserve(sinks_.size());
        for (const Connection& c : sinks_) items.push_back({c.sink.get(), c.cookie});
        *out = ConnectionsEnum::create(std::move(items));
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

bool ConnectionPoint::is_advised(DWORD cookie) const noexcept {
    for (const Connection& c : sinks_)
        if (c.cookie == cookie) return true;
    return false;
}

HRESULT enumerate_connection_points(const std::vector<std::unique_ptr<ConnectionPoint>>& points,
                                    IEnumConnectionPoints** out) noexcept {
    if (!out) return E_POINTER;
    *out = nullptr;
    try {
        std::vector<IConnectionPoint*> items;
        items.reserve(points.size());
        for (const auto& p : points) items.push_back(p.get());
        *out = PointsEnum::create(std::move(items));
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace com
