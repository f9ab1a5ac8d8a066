// The symbol selector: a real modal dialog, driven here as a person would use it (a timer
// fires inside the dialog's message loop, types into its fields and presses its buttons), and
// its replacement by a scripted class through CoRegisterClassObject.
#include "fixture.h"
#include "mapmodel/selector/dialog_ids.h"

using namespace mm;
namespace ids = mapmodel::selector_ids;

namespace {

// The steps a test takes inside the dialog, one per timer tick; each gets the dialog window.
std::vector<std::function<void(HWND)>> g_steps;
size_t g_step = 0;

BOOL CALLBACK visit(HWND w, LPARAM p) {
    wchar_t title[64] = {};
    GetWindowTextW(w, title, 64);
    if (std::wstring(title) != L"Symbol Selector") return TRUE;
    *reinterpret_cast<HWND*>(p) = w;
    return FALSE;
}

HWND find_dialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), visit, reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = find_dialog();
    if (!dialog) return;
    if (g_step >= g_steps.size()) {
        KillTimer(nullptr, id);
        return;
    }
    g_steps[g_step++](dialog);
}

// Shows the selector and plays the steps in it; answers SelectSymbol's status.
HRESULT play(ISymbolSelector* selector, std::vector<std::function<void(HWND)>> steps, VARIANT_BOOL& confirmed) {
    g_steps = std::move(steps);
    g_step = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, tick);
    HRESULT hr = selector->SelectSymbol(0, &confirmed);
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_step, g_steps.size()) << "every step ran";
    return hr;
}

// Shows the selector and plays the steps in it; answers whether the user confirmed.
bool run_dialog(ISymbolSelector* selector, std::vector<std::function<void(HWND)>> steps) {
    VARIANT_BOOL confirmed = VARIANT_FALSE;
    EXPECT_EQ(play(selector, std::move(steps), confirmed), S_OK) << com::narrow(last_error());
    return confirmed == VARIANT_TRUE;
}

void type(HWND dialog, int id, const wchar_t* text) { SetDlgItemTextW(dialog, id, text); }
void choose_style(HWND dialog, int index) {
    HWND combo = GetDlgItem(dialog, ids::kStyle);
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(ids::kStyle, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}
void press(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
std::wstring text_of(HWND dialog, int id) {
    wchar_t buf[256] = {};
    GetDlgItemTextW(dialog, id, buf, 256);
    return buf;
}

ComPtr<IMarkerSymbol> blue_marker() {
    auto m = create<IMarkerSymbol>(CLSID_MarkerSymbol);
    m->putref_Color(rgb(RGB(0, 0, 255)).get());
    m->put_Size(8);
    return m;
}

struct MarkerLook {
    long color;
    double size;
    MarkerStyle style;
};
MarkerLook look(ISymbol* s) {
    auto m = ComPtr<ISymbol>(s).as<IMarkerSymbol>();
    MarkerLook l{};
    ComPtr<IColor> c;
    m->get_Color(c.put());
    c->get_RGB(&l.color);
    m->get_Size(&l.size);
    m->get_Style(&l.style);
    return l;
}

}  // namespace

TEST(Selector, APersonEditsACopyAndConfirms) {
    auto selector = create<ISymbolSelector>(CLSID_SymbolSelector);
    auto original = blue_marker();
    VARIANT_BOOL accepted = VARIANT_FALSE;
    ASSERT_EQ(selector->AddSymbol(original.as<ISymbol>().get(), &accepted), S_OK);
    EXPECT_EQ(accepted, VARIANT_TRUE);

    COLORREF preview_centre = CLR_INVALID;
    std::wstring fields;
    bool confirmed = run_dialog(selector.get(), {
        [&](HWND d) { fields = text_of(d, ids::kColor) + L" " + text_of(d, ids::kSize) + L" " + text_of(d, ids::kSizeLabel); },
        [](HWND d) {
            type(d, ids::kColor, L"#FF0000");
            type(d, ids::kSize, L"12");
            choose_style(d, 1);
        },
        [&](HWND d) {
            HWND preview = GetDlgItem(d, ids::kPreview);
            UpdateWindow(preview);
            RECT r;
            GetClientRect(preview, &r);
            HDC dc = GetDC(preview);
            preview_centre = GetPixel(dc, (r.right - 10) / 2 + 5, (r.bottom - 10) / 2 + 5);
            ReleaseDC(preview, dc);
        },
        [](HWND d) { press(d, IDOK); },
    });
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(fields, L"#0000FF 8 Size:") << "the fields show the symbol";
    EXPECT_EQ(preview_centre, RGB(255, 0, 0)) << "the preview shows the edited symbol";

    ComPtr<ISymbol> chosen;
    ASSERT_EQ(selector->GetSymbolAt(0, chosen.put()), S_OK);
    EXPECT_FALSE(com::same_object(chosen.get(), original.get())) << "a copy was edited";
    MarkerLook edited = look(chosen.get()), kept = look(original.as<ISymbol>().get());
    EXPECT_EQ(edited.color, long(RGB(255, 0, 0)));
    EXPECT_EQ(edited.size, 12.0);
    EXPECT_EQ(edited.style, MarkerSquare);
    EXPECT_EQ(kept.color, long(RGB(0, 0, 255)));
    EXPECT_EQ(kept.size, 8.0);
}

TEST(Selector, CancelChangesNothing) {
    auto selector = create<ISymbolSelector>(CLSID_SymbolSelector);
    auto original = blue_marker();
    VARIANT_BOOL accepted;
    selector->AddSymbol(original.as<ISymbol>().get(), &accepted);
    bool confirmed = run_dialog(selector.get(), {
        [](HWND d) { type(d, ids::kColor, L"#00FF00"); },
        [](HWND d) { press(d, IDCANCEL); },
    });
    EXPECT_FALSE(confirmed);
    ComPtr<ISymbol> chosen;
    selector->GetSymbolAt(0, chosen.put());
    EXPECT_EQ(chosen.get(), original.as<ISymbol>().get());
    EXPECT_EQ(look(original.as<ISymbol>().get()).color, long(RGB(0, 0, 255)));
}

TEST(Selector, BadInputIsExplainedAndTheDialogStays) {
    auto selector = create<ISymbolSelector>(CLSID_SymbolSelector);
    auto line = create<ILineSymbol>(CLSID_LineSymbol);
    VARIANT_BOOL accepted;
    selector->AddSymbol(line.as<ISymbol>().get(), &accepted);
    std::wstring problem, label;
    bool still_open = false;
    bool confirmed = run_dialog(selector.get(), {
        [](HWND d) {
            type(d, ids::kSize, L"wide");
            press(d, IDOK);
        },
        [&](HWND d) {
            still_open = IsWindowVisible(d);
            problem = text_of(d, ids::kProblem);
            label = text_of(d, ids::kSizeLabel);
            type(d, ids::kSize, L"2.5");
            press(d, IDOK);
        },
    });
    EXPECT_TRUE(still_open);
    EXPECT_EQ(label, L"Width:");
    EXPECT_EQ(problem, L"Width: a number of points from 0 to 1000.");
    EXPECT_TRUE(confirmed);
    ComPtr<ISymbol> chosen;
    selector->GetSymbolAt(0, chosen.put());
    double width = 0;
    chosen.as<ILineSymbol>()->get_Width(&width);
    EXPECT_EQ(width, 2.5);
}

// A step of the dialog that fails ends the dialog, and SelectSymbol reports the failure.
TEST(Selector, AFailingStepEndsTheDialogWithItsError) {
    auto selector = create<ISymbolSelector>(CLSID_SymbolSelector);
    VARIANT_BOOL accepted;
    selector->AddSymbol(blue_marker().as<ISymbol>().get(), &accepted);
    VARIANT_BOOL confirmed = VARIANT_TRUE;
    HRESULT hr = play(selector.get(), {[](HWND d) {
        // The preview to paint on no device context: the symbol refuses to draw.
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_STATIC;
        item.CtlID = ids::kPreview;
        item.hwndItem = GetDlgItem(d, ids::kPreview);
        item.rcItem = RECT{0, 0, 10, 10};
        SendMessageW(d, WM_DRAWITEM, ids::kPreview, reinterpret_cast<LPARAM>(&item));
    }}, confirmed);
    EXPECT_EQ(hr, E_INVALIDARG);
    EXPECT_EQ(last_error(), L"The device context is null");
    EXPECT_EQ(confirmed, VARIANT_FALSE);
    EXPECT_EQ(find_dialog(), nullptr);
}

TEST(Selector, MisuseIsRefused) {
    auto selector = create<ISymbolSelector>(CLSID_SymbolSelector);
    VARIANT_BOOL b = VARIANT_TRUE;
    EXPECT_EQ(selector->SelectSymbol(0, &b), E_UNEXPECTED);
    EXPECT_EQ(b, VARIANT_FALSE);
    EXPECT_EQ(selector->AddSymbol(nullptr, &b), E_POINTER);
    ComPtr<ISymbol> none;
    EXPECT_EQ(selector->GetSymbolAt(0, none.put()), E_INVALIDARG);
}

namespace {
// A selector a test scripts: it confirms with a symbol of its choosing, without a dialog.
class ScriptedSelector final : public com::ComObject<ScriptedSelector, ISymbolSelector> {
public:
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP AddSymbol(ISymbol*, VARIANT_BOOL* accepted) override {
        *accepted = VARIANT_TRUE;
        return S_OK;
    }
    STDMETHODIMP SelectSymbol(LONG_PTR, VARIANT_BOOL* confirmed) override {
        *confirmed = VARIANT_TRUE;
        return S_OK;
    }
    STDMETHODIMP GetSymbolAt(long, ISymbol** symbol) override {
        auto s = mm::create<ISymbol>(CLSID_LineSymbol);
        *symbol = s.detach();
        return S_OK;
    }
};

class ScriptedFactory final : public com::ComObject<ScriptedFactory, IClassFactory> {
public:
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        return ScriptedSelector::create_for(riid, out);
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};
}  // namespace

TEST(Selector, AProcessCanReplaceTheClassWithItsOwn) {
    use_model();
    auto factory = ScriptedFactory::create();
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(CLSID_SymbolSelector, factory->unknown(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                    &cookie), S_OK);
    auto scripted = ComPtr<ISymbolSelector>::create(CLSID_SymbolSelector);
    VARIANT_BOOL confirmed = VARIANT_FALSE;
    EXPECT_EQ(scripted->SelectSymbol(0, &confirmed), S_OK) << "no dialog, no symbol needed";
    EXPECT_EQ(confirmed, VARIANT_TRUE);
    ASSERT_EQ(CoRevokeClassObject(cookie), S_OK);
    auto real = ComPtr<ISymbolSelector>::create(CLSID_SymbolSelector);
    EXPECT_EQ(real->SelectSymbol(0, &confirmed), E_UNEXPECTED) << "the real one again";
}
