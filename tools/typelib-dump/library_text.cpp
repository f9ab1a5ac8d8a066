#include "library_text.h"
#include "com/bstr.h"
#include "com/error.h"
#include "com/ptr.h"
#include "com/registry.h"
#include "type_text.h"

namespace dump {

namespace {

// The attributes of a type info, released by the destructor.
class TypeAttr {
public:
    explicit TypeAttr(ITypeInfo* ti) : ti_(ti) { com::check(ti->GetTypeAttr(&a_)); }
    ~TypeAttr() { ti_->ReleaseTypeAttr(a_); }
    TypeAttr(const TypeAttr&) = delete;
    TypeAttr& operator=(const TypeAttr&) = delete;
    const TYPEATTR* operator->() const { return a_; }
    const TYPEATTR& operator*() const { return *a_; }

private:
    ITypeInfo* ti_;
    TYPEATTR* a_ = nullptr;
};

std::wstring bracketed(const std::wstring& flags) { return flags.empty() ? std::wstring() : L"[" + flags + L"] "; }

std::wstring version_text(WORD major, WORD minor) {
    return std::to_wstring(major) + L"." + std::to_wstring(minor);
}

std::wstring doc_string(ITypeInfo* ti) {
    com::Bstr doc;
    ti->GetDocumentation(MEMBERID_NIL, nullptr, doc.put(), nullptr, nullptr);
    return doc.empty() ? std::wstring() : L"  // " + doc.str();
}

// What the registry (in this process's view) holds for a class.
std::wstring registry_text(REFCLSID clsid) {
    const std::wstring base = L"CLSID\\" + com::guid_string(clsid);
    com::RegKey key = com::RegKey::open(HKEY_CLASSES_ROOT, base);
    if (!key) return L"    registry: not registered\n";
    std::wstring s;
    auto value = [&](const std::wstring& sub, const wchar_t* label, const wchar_t* name = L"") {
        com::RegKey k = com::RegKey::open(HKEY_CLASSES_ROOT, base + L"\\" + sub);
        if (!k) return;
        s += L"    registry: " + std::wstring(label) + L" = " + k.get_string(name) + L"\n";
    };
    value(L"InprocServer32", L"InprocServer32");
    value(L"InprocServer32", L"ThreadingModel", L"ThreadingModel");
    value(L"ProgID", L"ProgID");
    value(L"VersionIndependentProgID", L"VersionIndependentProgID");
    value(L"TypeLib", L"TypeLib");
    value(L"Version", L"Version");
    if (com::RegKey::open(HKEY_CLASSES_ROOT, base + L"\\Control")) s += L"    registry: Control\n";
    value(L"MiscStatus\\1", L"MiscStatus\\1");
    value(L"ToolboxBitmap32", L"ToolboxBitmap32");
    return s;
}

std::wstring coclass_text(ITypeInfo* ti, const TYPEATTR& a) {
    std::wstring s = bracketed(type_flags_text(a)) + L"coclass " + name_of(ti) + L" " +
                     com::guid_string(a.guid) + doc_string(ti) + L"\n";
    for (UINT i = 0; i < a.cImplTypes; ++i) {
        HREFTYPE ref = 0;
        INT flags = 0;
        com::check(ti->GetRefTypeOfImplType(i, &ref));
        com::check(ti->GetImplTypeFlags(i, &flags));
        com::ComPtr<ITypeInfo> impl;
        com::check(ti->GetRefTypeInfo(ref, impl.put()));
        TypeAttr ia(impl.get());
        const wchar_t* kind = ia->typekind == TKIND_DISPATCH && !(ia->wTypeFlags & TYPEFLAG_FDUAL)
                                  ? L"dispinterface " : L"interface ";
        s += L"    " + bracketed(impl_flags_text(flags)) + kind + name_of(impl.get()) + L"\n";
    }
    return s + registry_text(a.guid);
}

std::wstring functions_text(ITypeInfo* ti, const TYPEATTR& a, ITypeLib* lib) {
    std::wstring s;
    for (UINT i = 0; i < a.cFuncs; ++i) {
        FUNCDESC* f = nullptr;
        com::check(ti->GetFuncDesc(i, &f));
        s += L"    " + function_text(ti, *f, lib) + L"\n";
        ti->ReleaseFuncDesc(f);
    }
    return s;
}

// A dual interface is listed through its vtable view, so that its members appear in vtable
// order without the inherited IDispatch methods.
std::wstring interface_text(ITypeInfo* ti, const TYPEATTR& a, ITypeLib* lib) {
    com::ComPtr<ITypeInfo> view(ti);
    if (a.typekind == TKIND_DISPATCH && (a.wTypeFlags & TYPEFLAG_FDUAL)) {
        HREFTYPE ref = 0;
        com::check(ti->GetRefTypeOfImplType(UINT(-1), &ref));
        com::check(ti->GetRefTypeInfo(ref, view.put()));
    }
    TypeAttr va(view.get());
    std::wstring base;
    if (va->cImplTypes > 0) {
        HREFTYPE ref = 0;
        com::ComPtr<ITypeInfo> b;
        if (SUCCEEDED(view->GetRefTypeOfImplType(0, &ref)) && SUCCEEDED(view->GetRefTypeInfo(ref, b.put())))
            base = L" : " + name_of(b.get());
    }
    const bool dispinterface = va->typekind == TKIND_DISPATCH;
    std::wstring s = bracketed(type_flags_text(a)) + (dispinterface ? L"dispinterface " : L"interface ") +
                     name_of(ti) + L" " + com::guid_string(a.guid) + base + doc_string(ti) + L"\n";
    return s + functions_text(view.get(), *va, lib);
}

std::wstring enum_text(ITypeInfo* ti, const TYPEATTR& a) {
    std::wstring s = L"enum " + name_of(ti) + L"\n";
    for (UINT i = 0; i < a.cVars; ++i) {
        VARDESC* v = nullptr;
        com::check(ti->GetVarDesc(i, &v));
        com::Bstr name;
        ti->GetDocumentation(v->memid, name.put(), nullptr, nullptr, nullptr);
        std::wstring value = L"?";
        if (v->varkind == VAR_CONST && v->lpvarValue) {
            VARIANT text;
            VariantInit(&text);
            if (SUCCEEDED(VariantChangeType(&text, v->lpvarValue, 0, VT_BSTR))) value = com::view(text.bstrVal);
            VariantClear(&text);
        }
        s += L"    " + name.str() + L" = " + value + L"\n";
        ti->ReleaseVarDesc(v);
    }
    return s;
}

std::wstring other_text(ITypeInfo* ti, const TYPEATTR& a, ITypeLib* lib) {
    if (a.typekind == TKIND_ALIAS) return L"typedef " + type_name(ti, a.tdescAlias, lib) + L" " + name_of(ti) + L"\n";
    return L"type " + name_of(ti) + L" (kind " + std::to_wstring(a.typekind) + L")\n";
}

}  // namespace

std::wstring library_text(ITypeLib* lib) {
    TLIBATTR* la = nullptr;
    com::check(lib->GetLibAttr(&la));
    const TLIBATTR attr = *la;
    lib->ReleaseTLibAttr(la);

    com::Bstr name, doc;
    lib->GetDocumentation(-1, name.put(), doc.put(), nullptr, nullptr);
    std::wstring s = L"library " + name.str() + L" " + com::guid_string(attr.guid) + L" version " +
                     version_text(attr.wMajorVerNum, attr.wMinorVerNum) +
                     (attr.syskind == SYS_WIN64 ? L" (win64)" : attr.syskind == SYS_WIN32 ? L" (win32)" : L"") +
                     (doc.empty() ? std::wstring() : L"  // " + doc.str()) + L"\n";
    s += L"notation: IDL; a parameter whose type ends in * is passed by reference\n";
    com::Bstr path;
    if (SUCCEEDED(QueryPathOfRegTypeLib(attr.guid, attr.wMajorVerNum, attr.wMinorVerNum, LOCALE_NEUTRAL, path.put())))
        s += L"registered file: " + path.str() + L"\n";

    // Sections in a fixed order; within each, the library's own order.
    std::wstring classes, interfaces, enums, others;
    const UINT count = lib->GetTypeInfoCount();
    for (UINT i = 0; i < count; ++i) {
        com::ComPtr<ITypeInfo> ti;
        com::check(lib->GetTypeInfo(i, ti.put()));
        TypeAttr a(ti.get());
        switch (a->typekind) {
        case TKIND_COCLASS: classes += L"\n" + coclass_text(ti.get(), *a); break;
        case TKIND_DISPATCH:
        case TKIND_INTERFACE: interfaces += L"\n" + interface_text(ti.get(), *a, lib); break;
        case TKIND_ENUM: enums += L"\n" + enum_text(ti.get(), *a); break;
        default: others += other_text(ti.get(), *a, lib); break;
        }
    }
    auto section = [&](const wchar_t* title, const std::wstring& body) {
        if (!body.empty()) s += L"\n== " + std::wstring(title) + L"\n" + body;
    };
    section(L"classes", classes);
    section(L"interfaces", interfaces);
    section(L"enumerations", enums);
    section(L"other types", others.empty() ? others : L"\n" + others);
    return s;
}

}  // namespace dump
