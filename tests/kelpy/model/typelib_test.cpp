// The KELPY type library as a host reads it: resource 1 of kelpy.dll, loaded with LoadTypeLibEx
// (not registered). Identities, flags, member order, dispatch ids, parameter directions and
// types (pointer-sized where the architecture says so), and the enumerations.
#include <windows.h>
#include <gtest/gtest.h>
#include <oleauto.h>
#include <map>
#include <set>
#include <string>
#include <vector>
#include "com/bstr.h"
#include "com/ptr.h"
#include "com/registry.h"
#include "common/registration.h"
#include "kelpy.h"
#include "kelpy/model/map_model_types.h"

namespace {

using com::ComPtr;

// The VARTYPE name of handles and window-message values: pointer-sized.
const std::wstring P = sizeof(void*) == 8 ? L"I8" : L"I4";

class TypeAttr {
public:
    explicit TypeAttr(ITypeInfo* ti) : ti_(ti) { EXPECT_EQ(ti->GetTypeAttr(&a_), S_OK); }
    ~TypeAttr() { if (a_) ti_->ReleaseTypeAttr(a_); }
    TypeAttr(const TypeAttr&) = delete;
    TypeAttr& operator=(const TypeAttr&) = delete;
    const TYPEATTR* operator->() const { return a_; }

private:
    ITypeInfo* ti_;
    TYPEATTR* a_ = nullptr;
};

std::wstring name_of(ITypeInfo* ti, MEMBERID id = MEMBERID_NIL) {
    com::Bstr name;
    ti->GetDocumentation(id, name.put(), nullptr, nullptr, nullptr);
    return name.str();
}

std::wstring type_text(ITypeInfo* ti, const TYPEDESC& t) {
    switch (t.vt) {
    case VT_PTR: return type_text(ti, *t.lptdesc) + L"*";
    case VT_USERDEFINED: {
        ComPtr<ITypeInfo> ref;
        if (FAILED(ti->GetRefTypeInfo(t.hreftype, ref.put()))) return L"<unresolved>";
        return name_of(ref.get());
    }
    case VT_I4: return L"I4";
    case VT_I8: return L"I8";
    case VT_BOOL: return L"BOOL";
    case VT_BSTR: return L"BSTR";
    case VT_VARIANT: return L"VARIANT";
    case VT_DISPATCH: return L"IDispatch*";
    case VT_HRESULT: return L"HRESULT";
    case VT_VOID: return L"void";
    default: return L"VT" + std::to_wstring(t.vt);
    }
}

std::wstring param_flags(USHORT f) {
    std::vector<std::wstring> parts;
    if (f & PARAMFLAG_FIN) parts.push_back(L"in");
    if (f & PARAMFLAG_FOUT) parts.push_back(L"out");
    if (f & PARAMFLAG_FRETVAL) parts.push_back(L"retval");
    std::wstring s;
    for (auto& p : parts) s += (s.empty() ? L"" : L",") + p;
    return L"[" + s + L"]";
}

// "get Name([out,retval] I4* v) HRESULT": kind, name, each parameter's directions, type (a *
// for every level of reference) and name, and the return type.
std::wstring signature(ITypeInfo* ti, const FUNCDESC& f) {
    std::vector<BSTR> names(size_t(f.cParams) + 1, nullptr);
    UINT got = 0;
    ti->GetNames(f.memid, names.data(), UINT(names.size()), &got);
    std::vector<com::Bstr> owned;
    for (BSTR b : names) owned.push_back(com::Bstr::attach(b));
    const wchar_t* kind = f.invkind == INVOKE_PROPERTYGET ? L"get " : f.invkind == INVOKE_PROPERTYPUT ? L"put "
                        : f.invkind == INVOKE_PROPERTYPUTREF ? L"putref " : L"";
    std::wstring s = kind + owned[0].str() + L"(";
    for (SHORT i = 0; i < f.cParams; ++i) {
        const ELEMDESC& e = f.lprgelemdescParam[i];
        s += (i ? L", " : L"") + param_flags(e.paramdesc.wParamFlags) + L" " + type_text(ti, e.tdesc) + L" " +
             (size_t(i) + 1 < got ? owned[size_t(i) + 1].str() : L"?");
    }
    return s + L") " + type_text(ti, f.elemdescFunc.tdesc);
}

struct Member {
    MEMBERID id;
    std::wstring signature;
};

class TypeLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        test::register_map_model_types();
        const std::wstring path = test::program_dir() + L"\\kelpy.dll";
        ASSERT_EQ(LoadTypeLibEx(path.c_str(), REGKIND_NONE, lib.put()), S_OK);
    }

    ComPtr<ITypeInfo> info(REFGUID g) {
        ComPtr<ITypeInfo> ti;
        EXPECT_EQ(lib->GetTypeInfoOfGuid(g, ti.put()), S_OK) << com::narrow(com::guid_string(g));
        return ti;
    }

    ComPtr<ITypeInfo> by_name(const std::wstring& name) {
        for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
            ComPtr<ITypeInfo> ti;
            lib->GetTypeInfo(i, ti.put());
            if (name_of(ti.get()) == name) return ti;
        }
        ADD_FAILURE() << "no type " << com::narrow(name);
        return {};
    }

    // The members of an interface in vtable order (a dual interface through its vtable view).
    std::vector<Member> members(REFGUID iid) {
        ComPtr<ITypeInfo> ti = info(iid);
        bool dual = false;
        {
            TypeAttr a(ti.get());
            dual = a->typekind == TKIND_DISPATCH && (a->wTypeFlags & TYPEFLAG_FDUAL);
        }
        if (dual) {
            HREFTYPE ref = 0;
            EXPECT_EQ(ti->GetRefTypeOfImplType(UINT(-1), &ref), S_OK);
            ComPtr<ITypeInfo> vtable;
            EXPECT_EQ(ti->GetRefTypeInfo(ref, vtable.put()), S_OK);
            ti = vtable;
        }
        TypeAttr a(ti.get());
        std::vector<Member> out;
        for (UINT i = 0; i < a->cFuncs; ++i) {
            FUNCDESC* f = nullptr;
            EXPECT_EQ(ti->GetFuncDesc(i, &f), S_OK);
            out.push_back({f->memid, signature(ti.get(), *f)});
            ti->ReleaseFuncDesc(f);
        }
        return out;
    }

    // The name of the interface that a dual interface's vtable view derives from.
    std::wstring base_name(REFGUID iid) {
        ComPtr<ITypeInfo> ti = info(iid);
        HREFTYPE ref = 0;
        ComPtr<ITypeInfo> vtable, base;
        if (FAILED(ti->GetRefTypeOfImplType(UINT(-1), &ref)) || FAILED(ti->GetRefTypeInfo(ref, vtable.put())) ||
            FAILED(vtable->GetRefTypeOfImplType(0, &ref)) || FAILED(vtable->GetRefTypeInfo(ref, base.put())))
            return L"<none>";
        return name_of(base.get());
    }

    void expect_members(REFGUID iid, const std::vector<Member>& want) {
        std::vector<Member> got = members(iid);
        ASSERT_EQ(got.size(), want.size()) << com::narrow(com::guid_string(iid));
        for (size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(got[i].id, want[i].id) << "member " << i << ": " << com::narrow(got[i].signature);
            EXPECT_EQ(got[i].signature, want[i].signature) << "member " << i;
        }
    }

    ComPtr<ITypeLib> lib;
};

TEST_F(TypeLibrary, IdentityVersionAndArchitecture) {
    TLIBATTR* a = nullptr;
    ASSERT_EQ(lib->GetLibAttr(&a), S_OK);
    EXPECT_EQ(a->guid, LIBID_KELPY);
    EXPECT_EQ(com::guid_string(a->guid), L"{BF49B406-A4D8-4DB7-BE21-59FE51ABD7F1}");
    EXPECT_EQ(a->wMajorVerNum, 9);
    EXPECT_EQ(a->wMinorVerNum, 2);
    EXPECT_EQ(a->syskind, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
    lib->ReleaseTLibAttr(a);
    com::Bstr name;
    lib->GetDocumentation(-1, name.put(), nullptr, nullptr, nullptr);
    EXPECT_EQ(name.str(), L"KELPY");

    // Exactly the public types, nothing else.
    std::set<std::wstring> names;
    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
        ComPtr<ITypeInfo> ti;
        lib->GetTypeInfo(i, ti.put());
        names.insert(name_of(ti.get()));
    }
    EXPECT_EQ(names, (std::set<std::wstring>{
                         L"TOC", L"_TOC", L"__TOC", L"TOCNode", L"_TOCNode", L"CRect", L"_CRect",
                         L"CustomDrawEventArgs", L"_CustomDrawEventArgs", L"TreeViewHitTestInfo",
                         L"_TreeViewHitTestInfo", L"TOCNodeType", L"LayerType", L"RasterRendererType",
                         L"FeatureRendererType", L"TreeviewHitTestCode", L"_TOC2", L"__TOC2", L"TOCItemInfo",
                         L"_TOCItemInfo", L"TOCItemKind", L"TOCItemPart", L"_TOC3", L"_TOCEvents",
                         L"TOCEvents"}));
}

TEST_F(TypeLibrary, ClassesTheirFlagsAndInterfaces) {
    struct Impl { std::wstring name; GUID iid; int flags; };
    struct Class { const wchar_t* guid; std::wstring name; bool control, creatable; std::vector<Impl> impls; };
    const Class classes[] = {
        {L"{545EE942-55AE-47D9-B8F4-38A6A13BCD22}", L"TOC", true, true,
         {{L"_TOC", IID__TOC, IMPLTYPEFLAG_FDEFAULT},
          {L"_TOC2", IID__TOC2, 0},
          {L"_TOC3", IID__TOC3, 0},
          {L"__TOC", DIID___TOC, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE},
          {L"__TOC2", DIID___TOC2, IMPLTYPEFLAG_FSOURCE}}},
        {L"{226781F6-69F4-4B29-AF5A-31C2E2D2D3B8}", L"TOCNode", false, false,
         {{L"_TOCNode", IID__TOCNode, IMPLTYPEFLAG_FDEFAULT}}},
        {L"{5588285E-E3DD-4EDF-A463-D4B0BB55466D}", L"CRect", false, false,
         {{L"_CRect", IID__CRect, IMPLTYPEFLAG_FDEFAULT}}},
        {L"{181017A9-335C-4AC1-A5B4-E3E9E88C1415}", L"CustomDrawEventArgs", false, false,
         {{L"_CustomDrawEventArgs", IID__CustomDrawEventArgs, IMPLTYPEFLAG_FDEFAULT}}},
        {L"{4223671B-5A6F-49FE-A84A-E1386D6EDA6C}", L"TreeViewHitTestInfo", false, false,
         {{L"_TreeViewHitTestInfo", IID__TreeViewHitTestInfo, IMPLTYPEFLAG_FDEFAULT}}},
        {L"{11BF9932-89C9-48F4-817B-C2DAD9694B54}", L"TOCItemInfo", false, false,
         {{L"_TOCItemInfo", IID__TOCItemInfo, IMPLTYPEFLAG_FDEFAULT}}},
        {L"{586EB9E7-2BB1-4FC0-8AEC-0F0B15C520A2}", L"TOCEvents", false, false,
         {{L"_TOCEvents", IID__TOCEvents, IMPLTYPEFLAG_FDEFAULT},
          {L"__TOC2", DIID___TOC2, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}}},
    };
    for (const Class& c : classes) {
        SCOPED_TRACE(com::narrow(c.name));
        GUID clsid{};
        ASSERT_EQ(CLSIDFromString(c.guid, &clsid), S_OK);
        ComPtr<ITypeInfo> ti = info(clsid);
        ASSERT_TRUE(ti);
        EXPECT_EQ(name_of(ti.get()), c.name);
        TypeAttr a(ti.get());
        EXPECT_EQ(a->typekind, TKIND_COCLASS);
        EXPECT_EQ((a->wTypeFlags & TYPEFLAG_FCONTROL) != 0, c.control);
        EXPECT_EQ((a->wTypeFlags & TYPEFLAG_FCANCREATE) != 0, c.creatable);
        ASSERT_EQ(a->cImplTypes, c.impls.size());
        for (UINT i = 0; i < a->cImplTypes; ++i) {
            HREFTYPE ref = 0;
            INT flags = 0;
            ComPtr<ITypeInfo> impl;
            ASSERT_EQ(ti->GetRefTypeOfImplType(i, &ref), S_OK);
            ASSERT_EQ(ti->GetRefTypeInfo(ref, impl.put()), S_OK);
            ti->GetImplTypeFlags(i, &flags);
            TypeAttr ia(impl.get());
            EXPECT_EQ(name_of(impl.get()), c.impls[i].name);
            EXPECT_EQ(ia->guid, c.impls[i].iid);
            EXPECT_EQ(flags, c.impls[i].flags);
        }
    }
}

TEST_F(TypeLibrary, InterfaceIdsAndKinds) {
    struct Expect { GUID iid; const wchar_t* text; bool dual; };
    const Expect interfaces[] = {
        {IID__TOC, L"{C9A1EF2A-8208-4C6E-93F2-DAF6970D9D87}", true},
        {DIID___TOC, L"{7CE50CE9-5CA0-4C88-B543-ED69E2B9A3CD}", false},
        {IID__TOCNode, L"{8332F713-7CEE-43C5-B509-DCC60F0ABCD9}", true},
        {IID__CRect, L"{BEFF3884-A102-4696-9B8E-4ECA2AA50B78}", true},
        {IID__CustomDrawEventArgs, L"{73D4A4B0-6C59-49D4-A03C-CCA405D87B69}", true},
        {IID__TreeViewHitTestInfo, L"{1A236516-173A-4355-A71C-0B9EEE96AAFC}", true},
        {IID__TOC2, L"{53D6D2B0-5241-4033-A2D6-3CE8DA0C0BF2}", true},
        {DIID___TOC2, L"{D58520A0-9E18-4787-8494-B58981D50821}", false},
        {IID__TOCItemInfo, L"{E07AE96A-6409-4269-B3C9-9F5F5860E42A}", true},
        {IID__TOC3, L"{822AA6AC-F6C1-4D7B-B542-45E75A68FB41}", true},
        {IID__TOCEvents, L"{12E524EA-6FCA-4A66-891C-7BF21D4A0AE4}", true},
    };
    for (const Expect& e : interfaces) {
        SCOPED_TRACE(com::narrow(e.text));
        EXPECT_EQ(com::guid_string(e.iid), e.text);
        ComPtr<ITypeInfo> ti = info(e.iid);
        ASSERT_TRUE(ti);
        TypeAttr a(ti.get());
        // Both are dispatch interfaces to a host; only the default ones also have a vtable.
        EXPECT_EQ(a->typekind, TKIND_DISPATCH);
        EXPECT_EQ((a->wTypeFlags & TYPEFLAG_FDUAL) != 0, e.dual);
        EXPECT_NE(a->wTypeFlags & TYPEFLAG_FDISPATCHABLE, 0);
    }
}

TEST_F(TypeLibrary, ControlInterfaceMembersInOrder) {
    const std::wstring wndproc = L"([in,out] " + P + L"* hWnd, [in,out] I4* msg, [in,out] " + P + L"* wp, [in,out] " +
                                 P + L"* lp, [in,out] " + P + L"* result, [in,out] BOOL* handled) HRESULT";
    expect_members(IID__TOC, {
        {0x68030000, L"get SelectedLayer([out,retval] ILayer** Layer) HRESULT"},
        {0x60030006, L"TreeWndProc" + wndproc},
        {0x60030007, L"CtrlWndProc" + wndproc},
        {0x60030015, L"Initialize([in,out] IMap** pMap) HRESULT"},
        {0x60030016, L"Reset() HRESULT"},
    });
}

TEST_F(TypeLibrary, EventInterfaceIsTheSourceWithEveryParameterByReference) {
    expect_members(DIID___TOC, {
        {1, L"OnContextMenu([in,out] TOCNodeType* TOCNodeType) void"},
        {2, L"OnSymbolSelector([in,out] BOOL* cancel, [in,out] ISymbol** Symbol) void"},
        {3, L"OnDragLayer([in,out] BOOL* cancel, [in,out] ILayer** Layer) void"},
        {4, L"OnBeforeRefreshMap([in,out] BOOL* cancel) void"},
    });
}

// The second interface extends the first (a host that asks for _TOC2 has every member of _TOC
// through it) with the options and ItemAt, exactly as version 9.1 published it; its events come
// on a source of their own, which grows by new ids only.
TEST_F(TypeLibrary, SecondInterfaceDerivesFromTheFirst) {
    EXPECT_EQ(base_name(IID__TOC2), L"_TOC");
    auto option = [](MEMBERID id, const std::wstring& name) {
        return std::vector<Member>{{id, L"get " + name + L"([out,retval] BOOL* v) HRESULT"},
                                   {id, L"put " + name + L"([in] BOOL v) HRESULT"}};
    };
    std::vector<Member> want;
    for (auto& [id, name] : std::vector<std::pair<MEMBERID, std::wstring>>{
             {0x68040001, L"ShowNestedGroups"}, {0x68040002, L"DropAtMark"}, {0x68040003, L"MixedGroupChecks"},
             {0x68040004, L"AllowRename"}, {0x68040005, L"ShowTips"}})
        for (Member& m : option(id, name)) want.push_back(m);
    want.push_back({0x60040001, L"ItemAt([in] I4 x, [in] I4 y, [out,retval] _TOCItemInfo** Item) HRESULT"});
    expect_members(IID__TOC2, want);
    expect_members(DIID___TOC2, {
        {1, L"OnLayerRenaming([in,out] ILayer** Layer, [in,out] BSTR* NewName, [in,out] BOOL* cancel) void"},
        {2, L"OnActionFailed([in,out] BSTR* Action, [in,out] I4* Number, [in,out] BSTR* Description) void"},
    });
}

// The third interface extends the second (with the scale-range and count options and the
// host's scale); the object its Events answers has no members of its
// own.
TEST_F(TypeLibrary, ThirdInterfaceDerivesFromTheSecond) {
    EXPECT_EQ(base_name(IID__TOC3), L"_TOC2");
    expect_members(IID__TOC3, {{0x68050001, L"get Events([out,retval] _TOCEvents** Events) HRESULT"},
                               {0x68050041, L"get ShowScaleRanges([out,retval] BOOL* v) HRESULT"},
                               {0x68050041, L"put ShowScaleRanges([in] BOOL v) HRESULT"},
                               {0x68050042, L"get ShowFeatureCounts([out,retval] BOOL* v) HRESULT"},
                               {0x68050042, L"put ShowFeatureCounts([in] BOOL v) HRESULT"},
                               {0x68050043, L"get MapScale([out,retval] VT5* v) HRESULT"},
                               {0x68050043, L"put MapScale([in] VT5 v) HRESULT"}});
    expect_members(IID__TOCEvents, {});
}

// A record field: a value (get/put), an object reference (get/putref; its type is the
// pointer) or a computed value (get only).
struct Field {
    enum Kind { Value, Object, ReadOnly } kind;
    std::wstring name, type;
    MEMBERID id;
};

std::vector<Member> accessors(const std::vector<Field>& fields) {
    std::vector<Member> out;
    for (const Field& f : fields) {
        out.push_back({f.id, L"get " + f.name + L"([out,retval] " + f.type + L"* v) HRESULT"});
        if (f.kind != Field::ReadOnly)
            out.push_back({f.id, (f.kind == Field::Object ? L"putref " : L"put ") + f.name + L"([in] " + f.type + L" v) HRESULT"});
    }
    return out;
}

TEST_F(TypeLibrary, RecordFieldsInDeclarationOrder) {
    using F = Field;
    expect_members(IID__TOCNode, accessors({
        {F::Object, L"GroupLayer", L"IGroupLayer*", 0x40030000},
        {F::Object, L"Symbol", L"ISymbol*", 0x40030001},
        {F::Value, L"TOCNodeType", L"TOCNodeType", 0x40030002},
        {F::Object, L"Layer", L"ILayer*", 0x40030003},
        {F::Value, L"Handle", P, 0x40030004},
        {F::Value, L"ShapeType", L"GeometryType", 0x40030005},
        {F::Value, L"ItemHeight", L"I4", 0x40030006},
        {F::Value, L"SymbolHeight", L"I4", 0x40030007},
        {F::Value, L"SymbolWidth", L"I4", 0x40030008},
        {F::Value, L"Index", L"I4", 0x40030009},
        {F::Value, L"Index2", L"I4", 0x4003000A},
        {F::Value, L"LayerType", L"LayerType", 0x4003000B},
        {F::Value, L"RasterRendererType", L"RasterRendererType", 0x4003000C},
        {F::Value, L"FeatureRendererType", L"FeatureRendererType", 0x4003000D},
    }));
    expect_members(IID__CRect, accessors({
        {F::Value, L"Left", L"I4", 0x40030000},
        {F::Value, L"Top", L"I4", 0x40030001},
        {F::Value, L"Right", L"I4", 0x40030002},
        {F::Value, L"Bottom", L"I4", 0x40030003},
        {F::ReadOnly, L"Width", L"VARIANT", 0x68030001},
        {F::ReadOnly, L"Height", L"VARIANT", 0x68030000},
    }));
    expect_members(IID__CustomDrawEventArgs, accessors({
        {F::Object, L"Node", L"IDispatch*", 0x40030000},
        {F::Object, L"Rect", L"_CRect*", 0x40030001},
        {F::Value, L"hdc", P, 0x40030002},
        {F::Value, L"SkipDefault", L"BOOL", 0x40030003},
        {F::Value, L"ItemHeight", L"I4", 0x40030004},
    }));
    expect_members(IID__TreeViewHitTestInfo, accessors({
        {F::Object, L"Node", L"IDispatch*", 0x40030000},
        {F::Value, L"TreeviewHitTest", L"TreeviewHitTestCode", 0x40030001},
    }));
    expect_members(IID__TOCItemInfo, accessors({
        {F::ReadOnly, L"Kind", L"TOCItemKind", 1},
        {F::ReadOnly, L"Part", L"TOCItemPart", 2},
        {F::ReadOnly, L"Layer", L"ILayer*", 3},
        {F::ReadOnly, L"ClassIndex", L"I4", 4},
        {F::ReadOnly, L"Text", L"BSTR", 5},
    }));
}

// The map-model types in the signatures are the map model's own interfaces, imported.
TEST_F(TypeLibrary, MapModelTypesAreImportedWithTheirInterfaceIds) {
    ComPtr<ITypeInfo> node = info(IID__TOCNode);
    HREFTYPE ref = 0;
    ComPtr<ITypeInfo> vtable;
    ASSERT_EQ(node->GetRefTypeOfImplType(UINT(-1), &ref), S_OK);
    ASSERT_EQ(node->GetRefTypeInfo(ref, vtable.put()), S_OK);
    const std::map<std::wstring, std::wstring> want = {
        {L"IGroupLayer", L"{EDAD6644-1810-11D1-86AE-0000F8751720}"},
        {L"ISymbol", L"{F3435802-5779-11D0-98BF-00805F7CED21}"},
        {L"ILayer", L"{34C20002-4D3C-11D0-92D8-00805F7C28B0}"},
    };
    std::map<std::wstring, std::wstring> got;
    TypeAttr a(vtable.get());
    for (UINT i = 0; i < a->cFuncs; ++i) {
        FUNCDESC* f = nullptr;
        vtable->GetFuncDesc(i, &f);
        if (f->invkind == INVOKE_PROPERTYPUTREF) {
            const TYPEDESC& t = *f->lprgelemdescParam[0].tdesc.lptdesc;
            ComPtr<ITypeInfo> type;
            ComPtr<ITypeLib> home;
            UINT index = 0;
            EXPECT_EQ(vtable->GetRefTypeInfo(t.hreftype, type.put()), S_OK);
            EXPECT_EQ(type->GetContainingTypeLib(home.put(), &index), S_OK);
            com::Bstr libname;
            home->GetDocumentation(-1, libname.put(), nullptr, nullptr, nullptr);
            EXPECT_EQ(libname.str(), L"MapModel");
            TypeAttr ta(type.get());
            got[name_of(type.get())] = com::guid_string(ta->guid);
        }
        vtable->ReleaseFuncDesc(f);
    }
    EXPECT_EQ(got, want);

    // The map of Initialize.
    ComPtr<ITypeInfo> toc = info(IID__TOC);
    ASSERT_EQ(toc->GetRefTypeOfImplType(UINT(-1), &ref), S_OK);
    ASSERT_EQ(toc->GetRefTypeInfo(ref, vtable.put()), S_OK);
    FUNCDESC* f = nullptr;
    ASSERT_EQ(vtable->GetFuncDesc(3, &f), S_OK);
    ComPtr<ITypeInfo> map;
    EXPECT_EQ(vtable->GetRefTypeInfo(f->lprgelemdescParam[0].tdesc.lptdesc->lptdesc->hreftype, map.put()), S_OK);
    vtable->ReleaseFuncDesc(f);
    ASSERT_TRUE(map);
    TypeAttr ma(map.get());
    EXPECT_EQ(com::guid_string(ma->guid), L"{E6BDAA75-4D35-11D0-98BE-00805F7CED21}");
}

TEST_F(TypeLibrary, EnumerationValues) {
    using Values = std::vector<std::pair<std::wstring, LONG>>;
    const std::map<std::wstring, Values> enums = {
        {L"TOCNodeType", {{L"Root", 0}, {L"Layer", 1}, {L"LayerSymbol", 2}, {L"GroupLayer", 3},
                          {L"RendererName", 4}, {L"RendererItem", 5}, {L"Holder", 6}}},
        {L"LayerType", {{L"FeatureLayer", 0}, {L"RasterLayer", 1}}},
        {L"RasterRendererType", {{L"RGB", 0}, {L"StretchColorRamp", 1}, {L"UniqueValue", 2}, {L"ClassifyColorRamp", 3}}},
        {L"FeatureRendererType", {{L"Simple", 0}, {L"ClassBreaks", 1}, {L"UniqueValue", 2}, {L"DotDensity", 3},
                                  {L"BiUniqueValue", 4}, {L"PieChartRenderer", 5}, {L"BarChartRenderer", 6},
                                  {L"PropportionalSymbols", 7}, {L"ScaleDependent", 8}}},
        {L"TreeviewHitTestCode", {{L"NOWHERE", 1}, {L"ONITEMICON", 2}, {L"ONITEMLABEL", 4}, {L"ONITEMINDENT", 8},
                                  {L"ONITEMBUTTON", 16}, {L"ONITEMRIGHT", 32}, {L"ONITEMSTATEICON", 64}}},
        {L"TOCItemKind", {{L"ItemNone", 0}, {L"ItemRoot", 1}, {L"ItemLayer", 2}, {L"ItemGroupLayer", 3},
                          {L"ItemLegendHeading", 4}, {L"ItemLegendClass", 5}, {L"ItemLayerSymbol", 6}, {L"ItemHolder", 7}}},
        {L"TOCItemPart", {{L"PartNone", 0}, {L"PartCheck", 1}, {L"PartLabel", 2}, {L"PartSwatch", 3},
                          {L"PartIndent", 4}, {L"PartRight", 5}}},
    };
    for (const auto& [name, want] : enums) {
        SCOPED_TRACE(com::narrow(name));
        ComPtr<ITypeInfo> ti = by_name(name);
        ASSERT_TRUE(ti);
        TypeAttr a(ti.get());
        EXPECT_EQ(a->typekind, TKIND_ENUM);
        Values got;
        for (UINT i = 0; i < a->cVars; ++i) {
            VARDESC* v = nullptr;
            ASSERT_EQ(ti->GetVarDesc(i, &v), S_OK);
            EXPECT_EQ(v->varkind, VAR_CONST);
            EXPECT_EQ(v->lpvarValue->vt, VT_I4);  // stored as 32-bit integers
            got.emplace_back(name_of(ti.get(), v->memid), v->lpvarValue->lVal);
            ti->ReleaseVarDesc(v);
        }
        EXPECT_EQ(got, want);
    }
}

}  // namespace
