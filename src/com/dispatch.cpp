#include "com/dispatch.h"
#include "com/module.h"
#include <string>

namespace com {

namespace {
struct Search {
    GUID libid;
    ITypeLib* found = nullptr;
};

BOOL CALLBACK visit_typelib(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    auto* s = reinterpret_cast<Search*>(param);
    if (!IS_INTRESOURCE(name)) return TRUE;
    std::wstring path(Module::path());
    path += L"\\" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name));
    ComPtr<ITypeLib> tl;
    if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, tl.put())) || !tl) return TRUE;
    TLIBATTR* attr = nullptr;
    bool match = SUCCEEDED(tl->GetLibAttr(&attr)) && attr && attr->guid == s->libid;
    if (attr) tl->ReleaseTLibAttr(attr);
    if (!match) return TRUE;
    s->found = tl.detach();
    return FALSE;
}
}  // namespace

ComPtr<ITypeLib> type_library(REFGUID libid, WORD major, WORD minor) {
    Search s{libid};
    EnumResourceNamesW(Module::handle(), L"TYPELIB", visit_typelib, reinterpret_cast<LONG_PTR>(&s));
    if (s.found) return ComPtr<ITypeLib>::attach(s.found);
    ComPtr<ITypeLib> tl;
    check(LoadRegTypeLib(libid, major, minor, LOCALE_NEUTRAL, tl.put()));
    return tl;
}

ComPtr<ITypeInfo> type_info(REFGUID libid, WORD major, WORD minor, REFGUID guid) {
    ComPtr<ITypeInfo> ti;
    check(type_library(libid, major, minor)->GetTypeInfoOfGuid(guid, ti.put()));
    return ti;
}

}  // namespace com
