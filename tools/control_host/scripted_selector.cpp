#include "scripted_selector.h"
#include "com/boundary.h"
#include "com/error.h"
#include "com/object.h"

namespace host {

struct ScriptedSelector::State {
    SelectorAnswer answer;
    int shown = 0;
    HWND owner = nullptr;
    com::ComPtr<ISymbol> chosen;
};

namespace {

// A copy of `symbol` in the script's colour and size.
com::ComPtr<ISymbol> restyled(ISymbol* symbol, const SelectorAnswer& a) {
    com::ComPtr<ICloneable> copy;
    com::check(com::ComPtr<ISymbol>(symbol).as<ICloneable>()->Clone(copy.put()));
    com::ComPtr<ISymbol> result = copy.as<ISymbol>();
    com::ComPtr<IColor> color;
    if (a.color) {
        color = com::ComPtr<IColor>::create(CLSID_RgbColor);
        com::check(color->put_RGB(LONG(*a.color)));
    }
    if (auto fill = result.query<IFillSymbol>()) {
        if (color) com::check(fill->putref_Color(color.get()));
    } else if (auto marker = result.query<IMarkerSymbol>()) {
        if (color) com::check(marker->putref_Color(color.get()));
        if (a.size) com::check(marker->put_Size(*a.size));
    } else if (auto line = result.query<ILineSymbol>()) {
        if (color) com::check(line->putref_Color(color.get()));
        if (a.size) com::check(line->put_Width(*a.size));
    } else if (auto chart = result.query<IChartSymbol>()) {
        if (a.size) com::check(chart->put_Size(*a.size));
    }
    return result;
}

class Selector final : public com::ComObject<Selector, ISymbolSelector> {
public:
    explicit Selector(std::shared_ptr<ScriptedSelector::State> state) : state_(std::move(state)) {}

    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        if (n) *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    STDMETHODIMP AddSymbol(ISymbol* symbol, VARIANT_BOOL* accepted) override {
        offered_ = symbol;
        if (accepted) *accepted = symbol ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    STDMETHODIMP SelectSymbol(LONG_PTR parent, VARIANT_BOOL* confirmed) override {
        try {
            ++state_->shown;
            state_->owner = reinterpret_cast<HWND>(parent);
            if (state_->answer.while_open) state_->answer.while_open();
            chosen_ = nullptr;
            if (state_->answer.confirm && offered_) chosen_ = restyled(offered_.get(), state_->answer);
            if (chosen_) state_->chosen = chosen_;
            if (confirmed) *confirmed = chosen_ ? VARIANT_TRUE : VARIANT_FALSE;
            return S_OK;
        } catch (const com::ComError& e) {
            return com::publish(e, __uuidof(ISymbolSelector));  // the failure with its description
        }
    }
    STDMETHODIMP GetSymbolAt(long index, ISymbol** symbol) override {
        if (!symbol) return E_POINTER;
        *symbol = nullptr;
        if (index != 0) return E_INVALIDARG;
        *symbol = com::ComPtr<ISymbol>(chosen_ ? chosen_ : offered_).detach();
        return S_OK;
    }

private:
    std::shared_ptr<ScriptedSelector::State> state_;
    com::ComPtr<ISymbol> offered_, chosen_;
};

class Factory final : public com::ComObject<Factory, IClassFactory> {
public:
    explicit Factory(std::shared_ptr<ScriptedSelector::State> state) : state_(std::move(state)) {}
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        auto selector = Selector::create(state_);
        return selector->QueryInterface(riid, out);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    std::shared_ptr<ScriptedSelector::State> state_;
};

}  // namespace

ScriptedSelector::ScriptedSelector(SelectorAnswer answer) : state_(std::make_shared<State>()) {
    state_->answer = answer;
    auto factory = Factory::create(state_);
    com::check(CoRegisterClassObject(CLSID_SymbolSelector, factory->unknown(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                     &cookie_));
}

ScriptedSelector::~ScriptedSelector() { CoRevokeClassObject(cookie_); }

void ScriptedSelector::answer(SelectorAnswer a) { state_->answer = a; }
int ScriptedSelector::shown() const { return state_->shown; }
HWND ScriptedSelector::owner() const { return state_->owner; }
com::ComPtr<ISymbol> ScriptedSelector::chosen() const { return state_->chosen; }

}  // namespace host
