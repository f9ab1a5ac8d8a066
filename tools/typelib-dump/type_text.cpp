#include "type_text.h"
#include <cstdio>
#include <vector>
#include "com/bstr.h"
#include "com/error.h"
#include "com/ptr.h"

namespace dump {

namespace {

std::wstring join(const std::vector<std::wstring>& parts) {
    std::wstring s;
    for (const auto& p : parts) s += (s.empty() ? L"" : L", ") + p;
    return s;
}

const wchar_t* base_type_name(VARTYPE vt) {
    switch (vt) {
    case VT_I1: return L"char";
    case VT_UI1: return L"unsigned char";
    case VT_I2: return L"short";
    case VT_UI2: return L"unsigned short";
    case VT_I4: return L"long";
    case VT_UI4: return L"unsigned long";
    case VT_I8: return L"hyper";
    case VT_UI8: return L"unsigned hyper";
    case VT_INT: return L"int";
    case VT_UINT: return L"unsigned int";
    case VT_R4: return L"float";
    case VT_R8: return L"double";
    case VT_CY: return L"CURRENCY";
    case VT_DATE: return L"DATE";
    case VT_BSTR: return L"BSTR";
    case VT_DISPATCH: return L"IDispatch*";
    case VT_UNKNOWN: return L"IUnknown*";
    case VT_ERROR: return L"SCODE";
    case VT_BOOL: return L"VARIANT_BOOL";
    case VT_VARIANT: return L"VARIANT";
    case VT_DECIMAL: return L"DECIMAL";
    case VT_VOID: return L"void";
    case VT_HRESULT: return L"HRESULT";
    case VT_LPSTR: return L"LPSTR";
    case VT_LPWSTR: return L"LPWSTR";
    default: return nullptr;
    }
}

std::wstring hex(unsigned long v) {
    wchar_t buf[16];
    swprintf(buf, 16, L"0x%08lX", v);
    return buf;
}

// The name of a referenced type, qualified by its library when that is not the one printed.
std::wstring referenced_name(ITypeInfo* owner, HREFTYPE ref, ITypeLib* home) {
    com::ComPtr<ITypeInfo> ti;
    if (FAILED(owner->GetRefTypeInfo(ref, ti.put()))) return L"<unresolved type " + hex(ref) + L">";
    std::wstring name = name_of(ti.get());
    com::ComPtr<ITypeLib> lib;
    UINT index = 0;
    if (SUCCEEDED(ti->GetContainingTypeLib(lib.put(), &index)) && lib) {
        com::Bstr libname;
        TLIBATTR* mine = nullptr;
        TLIBATTR* theirs = nullptr;
        home->GetLibAttr(&mine);
        lib->GetLibAttr(&theirs);
        bool foreign = mine && theirs && mine->guid != theirs->guid;
        if (theirs) lib->ReleaseTLibAttr(theirs);
        if (mine) home->ReleaseTLibAttr(mine);
        if (foreign && SUCCEEDED(lib->GetDocumentation(-1, libname.put(), nullptr, nullptr, nullptr)))
            name = libname.str() + L"." + name;
    }
    // Interfaces are used through pointers; the TYPEDESC of an interface parameter already
    // carries that pointer, so the name stays bare here.
    return name;
}

}  // namespace

std::wstring name_of(ITypeInfo* ti) {
    com::Bstr name;
    if (FAILED(ti->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr))) return L"?";
    return name.str();
}

std::wstring type_name(ITypeInfo* owner, const TYPEDESC& t, ITypeLib* home) {
    switch (t.vt) {
    case VT_PTR: return type_name(owner, *t.lptdesc, home) + L"*";
    case VT_SAFEARRAY: return L"SAFEARRAY(" + type_name(owner, *t.lptdesc, home) + L")";
    case VT_CARRAY: return type_name(owner, t.lpadesc->tdescElem, home) + L"[]";
    case VT_USERDEFINED: return referenced_name(owner, t.hreftype, home);
    default:
        if (const wchar_t* n = base_type_name(t.vt)) return n;
        return L"<VARTYPE " + std::to_wstring(t.vt) + L">";
    }
}

std::wstring param_text(ITypeInfo* owner, const ELEMDESC& e, const std::wstring& name, ITypeLib* home) {
    const USHORT f = e.paramdesc.wParamFlags;
    std::vector<std::wstring> flags;
    if (f & PARAMFLAG_FIN) flags.push_back(L"in");
    if (f & PARAMFLAG_FOUT) flags.push_back(L"out");
    if (f & PARAMFLAG_FRETVAL) flags.push_back(L"retval");
    if (f & PARAMFLAG_FLCID) flags.push_back(L"lcid");
    if (f & PARAMFLAG_FOPT) flags.push_back(L"optional");
    if (f & PARAMFLAG_FHASDEFAULT) flags.push_back(L"defaultvalue");
    std::wstring s = flags.empty() ? std::wstring() : L"[" + join(flags) + L"] ";
    return s + type_name(owner, e.tdesc, home) + L" " + name;
}

std::wstring function_text(ITypeInfo* owner, const FUNCDESC& f, ITypeLib* home) {
    // Small ids read better in decimal, the large generated ones in hexadecimal.
    const auto id = static_cast<unsigned long>(f.memid);
    std::vector<std::wstring> attrs{L"id(" + (id < 0x10000 ? std::to_wstring(id) : hex(id)) + L")"};
    if (f.invkind & INVOKE_PROPERTYGET) attrs.push_back(L"propget");
    if (f.invkind & INVOKE_PROPERTYPUT) attrs.push_back(L"propput");
    if (f.invkind & INVOKE_PROPERTYPUTREF) attrs.push_back(L"propputref");
    if (f.wFuncFlags & FUNCFLAG_FHIDDEN) attrs.push_back(L"hidden");
    if (f.wFuncFlags & FUNCFLAG_FRESTRICTED) attrs.push_back(L"restricted");
    if (f.wFuncFlags & FUNCFLAG_FSOURCE) attrs.push_back(L"source");
    if (f.wFuncFlags & FUNCFLAG_FBINDABLE) attrs.push_back(L"bindable");
    if (f.wFuncFlags & FUNCFLAG_FDEFAULTBIND) attrs.push_back(L"defaultbind");

    // Names: the function's, then its parameters'.
    std::vector<BSTR> names(size_t(f.cParams) + 1, nullptr);
    UINT got = 0;
    owner->GetNames(f.memid, names.data(), UINT(names.size()), &got);
    std::vector<com::Bstr> owned;
    for (BSTR b : names) owned.push_back(com::Bstr::attach(b));
    auto name_at = [&](size_t i) {
        return i < got && owned[i].get() ? owned[i].str() : L"p" + std::to_wstring(i);
    };

    std::wstring s = L"[" + join(attrs) + L"] " + type_name(owner, f.elemdescFunc.tdesc, home) + L" " +
                     name_at(0) + L"(";
    for (SHORT i = 0; i < f.cParams; ++i) {
        if (i) s += L", ";
        // A property put names no parameter of its own; its value is "value" in listings.
        std::wstring pname = size_t(i) + 1 < got ? name_at(size_t(i) + 1) : L"value";
        s += param_text(owner, f.lprgelemdescParam[i], pname, home);
    }
    return s + L");";
}

std::wstring type_flags_text(const TYPEATTR& a) {
    std::vector<std::wstring> flags;
    const WORD f = a.wTypeFlags;
    if (a.typekind == TKIND_COCLASS && !(f & TYPEFLAG_FCANCREATE)) flags.push_back(L"noncreatable");
    if (f & TYPEFLAG_FCONTROL) flags.push_back(L"control");
    if (f & TYPEFLAG_FAPPOBJECT) flags.push_back(L"appobject");
    if (f & TYPEFLAG_FLICENSED) flags.push_back(L"licensed");
    if (f & TYPEFLAG_FDUAL) flags.push_back(L"dual");
    if (f & TYPEFLAG_FOLEAUTOMATION) flags.push_back(L"oleautomation");
    if (f & TYPEFLAG_FNONEXTENSIBLE) flags.push_back(L"nonextensible");
    if (f & TYPEFLAG_FHIDDEN) flags.push_back(L"hidden");
    if (f & TYPEFLAG_FRESTRICTED) flags.push_back(L"restricted");
    if (f & TYPEFLAG_FAGGREGATABLE) flags.push_back(L"aggregatable");
    return join(flags);
}

std::wstring impl_flags_text(int f) {
    std::vector<std::wstring> flags;
    if (f & IMPLTYPEFLAG_FDEFAULT) flags.push_back(L"default");
    if (f & IMPLTYPEFLAG_FSOURCE) flags.push_back(L"source");
    if (f & IMPLTYPEFLAG_FRESTRICTED) flags.push_back(L"restricted");
    if (f & IMPLTYPEFLAG_FDEFAULTVTABLE) flags.push_back(L"defaultvtable");
    return join(flags);
}

}  // namespace dump
