#include "com/connection_point.h"
#include "com/boundary.h"
#include "com/object.h"
#include <algorithm>

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

    // Next and Skip answer S_FALSE when fewer items are left than asked for.
    STDMETHODIMP Next(ULONG count, T* out, ULONG* fetched) override {
        ULONG n = 0;
        HRESULT hr = boundary(__uuidof(IEnum), [&] {
            if (!out || (count > 1 && !fetched)) raise(E_POINTER);
            while (n < count && pos_ < items_.size()) {
                out[n] = items_[pos_++];
                Item::add_ref(out[n]);
                ++n;
            }
            if (fetched) *fetched = n;
        });
        return FAILED(hr) ? hr : n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        size_t left = items_.size() - pos_;
        pos_ += std::min<size_t>(count, left);
        return count > left ? S_FALSE : S_OK;
    }
    STDMETHODIMP Reset() override {
        pos_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnum** out) override {
        return boundary(__uuidof(IEnum), [&] {
            if (!out) raise(E_POINTER);
            *out = nullptr;
            *out = SnapshotEnum::create(items_, pos_).detach();
        });
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
    return boundary(IID_IConnectionPoint, [&] {
        if (!iid) raise(E_POINTER);
        *iid = iid_;
    });
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
    return boundary(IID_IConnectionPoint, [&] {
        if (!out) raise(E_POINTER);
        *out = &container_;
        container_.AddRef();
    });
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    return boundary(IID_IConnectionPoint, [&] {
        if (!cookie) raise(E_POINTER);
        *cookie = 0;
        if (!sink) raise(E_POINTER, L"The sink is Nothing");
        ComPtr<IUnknown> typed;
        if (FAILED(sink->QueryInterface(iid_, typed.put_void())) || !typed)
            raise(CONNECT_E_CANNOTCONNECT, L"The sink does not implement the connection point's interface");
        sinks_.push_back({next_cookie_, std::move(typed)});
        *cookie = next_cookie_++;
    });
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
    return boundary(IID_IConnectionPoint, [&] {
        for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
            if (it->cookie == cookie) {
                // Release after the entry is gone: the sink's destructor may call back into us.
                ComPtr<IUnknown> released = std::move(it->sink);
                sinks_.erase(it);
                return;
            }
        }
        raise(CONNECT_E_NOCONNECTION, L"No sink is advised with this cookie");
    });
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** out) {
    return boundary(IID_IConnectionPoint, [&] {
        if (!out) raise(E_POINTER);
        *out = nullptr;
        std::vector<CONNECTDATA> items;
        items.reserve(sinks_.size());
        for (const Connection& c : sinks_) items.push_back({c.sink.get(), c.cookie});
        *out = ConnectionsEnum::create(std::move(items)).detach();
    });
}

bool ConnectionPoint::is_advised(DWORD cookie) const noexcept {
    for (const Connection& c : sinks_)
        if (c.cookie == cookie) return true;
    return false;
}

HRESULT enumerate_connection_points(const std::vector<std::unique_ptr<ConnectionPoint>>& points,
                                    IEnumConnectionPoints** out) noexcept {
    return boundary(IID_IConnectionPointContainer, [&] {
        if (!out) raise(E_POINTER);
        *out = nullptr;
        std::vector<IConnectionPoint*> items;
        items.reserve(points.size());
        for (const auto& p : points) items.push_back(p.get());
        *out = PointsEnum::create(std::move(items)).detach();
    });
}

}  // namespace com
