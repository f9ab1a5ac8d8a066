// Connection points: the outgoing interfaces of an object and the sinks advised on them.
//
// ConnectionPoint serves one outgoing interface (any IID). It lives inside the object that
// offers it and shares that object's reference count, so a client holding the connection point
// keeps the container alive. Sinks are held as counted references under their advise cookies
// (1, 2, 3, ...; a cookie is never reused). fire() calls every sink advised when the
// notification starts, skipping one that was unadvised meanwhile (by itself or by another
// sink), so a sink may unadvise, or advise others, while it is being called.
//
// ConnectionPointContainer<Self> is the IConnectionPointContainer side, to be listed among the
// interfaces of a ComObject; the object adds its points in its constructor.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>
#include <memory>
#include <vector>
#include "com/ptr.h"

namespace com {

class ConnectionPoint final : public IConnectionPoint {
public:
    ConnectionPoint(IConnectionPointContainer& container, REFIID iid) noexcept
        : container_(container), iid_(iid) {}
    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;
    ~ConnectionPoint() = default;

    // IUnknown: the identity is this connection point; the references are the container's.
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return container_.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return container_.Release(); }

    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections** out) override;

    const IID& iid() const noexcept { return iid_; }
    size_t sink_count() const noexcept { return sinks_.size(); }
    bool is_advised(DWORD cookie) const noexcept;

    // Calls call(Sink*) for every sink; the sinks' results are not looked at, since a
    // notification reports something that has already happened.
    template <class Sink, class F>
    void fire(F&& call) const {
        if (sinks_.empty()) return;
        const std::vector<Connection> snapshot = sinks_;  // counted: sinks stay alive while called
        for (const Connection& c : snapshot) {
            if (!is_advised(c.cookie)) continue;
            call(static_cast<Sink*>(c.sink.get()));
        }
    }

private:
    struct Connection {
        DWORD cookie;
        ComPtr<IUnknown> sink;  // the sink's pointer for iid_, as Advise asked it for
    };
    IConnectionPointContainer& container_;
    IID iid_;
    std::vector<Connection> sinks_;
    DWORD next_cookie_ = 1;
};

// Builds the enumerator of connection points for a container (a snapshot of `points`).
HRESULT enumerate_connection_points(const std::vector<std::unique_ptr<ConnectionPoint>>& points,
                                    IEnumConnectionPoints** out) noexcept;

template <class Self>
class ConnectionPointContainer : public IConnectionPointContainer {
public:
    using interface_type = IConnectionPointContainer;

    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) override {
        return enumerate_connection_points(points_, out);
    }
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        for (auto& p : points_) {
            if (p->iid() == riid) {
                *out = p.get();
                p->AddRef();
                return S_OK;
            }
        }
        return CONNECT_E_NOCONNECTION;
    }

protected:
    ConnectionPoint& add_connection_point(REFIID iid) {
        points_.push_back(std::make_unique<ConnectionPoint>(*this, iid));
        return *points_.back();
    }

private:
    std::vector<std::unique_ptr<ConnectionPoint>> points_;
};

}  // namespace com
