// The entry points of kelpy.dll as an in-process COM server: the class objects, the unload
// check, and self-registration of the embedded type library and of the library's classes.
#include <windows.h>
#include <olectl.h>
#include <span>
#include <string>
#include "com/boundary.h"
#include "com/module.h"
#include "com/registry.h"
#include "kelpy/model/resource_ids.h"
#include "kelpy/control/toc.h"
#include "kelpy/model/typelib.h"

namespace {

// An inside-out control that activates as soon as it is visible, is resized by recomposing,
// cannot be linked into, and wants its client site before it is initialised.
constexpr DWORD control_misc_status = kelpy::Toc::MiscStatus;
constexpr int toolbox_bitmap = KELPY_BITMAP_TOOLBOX;  // bitmap resource of the toolbox picture

struct ServedClass {
    com::ClassInfo info;
    // Makes an instance for the class factory; null for a class that is registered (for the
    // type library's sake) but that no one outside the library creates.
    com::CreateFn create;
};

const std::wstring& typelib_version() {
    static const std::wstring v =
        std::to_wstring(kelpy::KelpyLib::major) + L"." + std::to_wstring(kelpy::KelpyLib::minor);
    return v;
}

// A record class: registered with the type library, made by the control only.
com::ClassInfo record_class(const CLSID& clsid, std::wstring_view name) {
    return {.clsid = &clsid, .name = name, .progid = {}, .version_independent = {},
            .libid = &LIBID_KELPY, .typelib_version = typelib_version()};
}

// Every class of the library. The control is made by its class factory for its container; the
// record classes are made by the control only.
std::span<const ServedClass> served_classes() {
    static const ServedClass classes[] = {
        {{.clsid = &CLSID_TOC,
          .name = L"KELPY.TOC",
          .progid = L"KELPY.TOC.1",
          .version_independent = L"KELPY.TOC",
          .libid = &LIBID_KELPY,
          .typelib_version = typelib_version(),
          .control = true,
          .misc_status = control_misc_status,
          .toolbox_bitmap = toolbox_bitmap,
          .progid_is_version_independent = true},
         &kelpy::Toc::create_for},
        {record_class(CLSID_TOCNode, L"KELPY.TOCNode"), nullptr},
        {record_class(CLSID_CRect, L"KELPY.CRect"), nullptr},
        {record_class(CLSID_CustomDrawEventArgs, L"KELPY.CustomDrawEventArgs"), nullptr},
        {record_class(CLSID_TreeViewHitTestInfo, L"KELPY.TreeViewHitTestInfo"), nullptr},
        {record_class(CLSID_TOCItemInfo, L"KELPY.TOCItemInfo"), nullptr},
        {record_class(CLSID_TOCEvents, L"KELPY.TOCEvents"), nullptr},
    };
    return classes;
}

// The type library's earlier versions (the same library id, a lower minor version): a library
// registered over an earlier one replaces it, and its unregistration leaves none behind.
void remove_earlier_type_libraries() noexcept {
    for (WORD minor = 0; minor < kelpy::KelpyLib::minor; ++minor)
        com::unregister_type_library(LIBID_KELPY, kelpy::KelpyLib::major, minor);
}

void remove_registration() noexcept {
    for (const ServedClass& c : served_classes()) com::unregister_class(c.info);
    com::unregister_type_library(LIBID_KELPY, kelpy::KelpyLib::major, kelpy::KelpyLib::minor);
    remove_earlier_type_libraries();
}

}  // namespace

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return com::boundary(IID_IClassFactory, [&] {
        for (const ServedClass& c : served_classes()) {
            if (*c.info.clsid != clsid) continue;
            if (!c.create)
                com::raise(CLASS_E_CLASSNOTAVAILABLE,
                           std::wstring(c.info.name) + L" cannot be created through a class factory");
            com::check(com::make_class_factory(c.create, riid, out));
            return;
        }
        com::raise(CLASS_E_CLASSNOTAVAILABLE, L"kelpy.dll does not serve this class");
    });
}

STDAPI DllCanUnloadNow() { return com::Module::can_unload() ? S_OK : S_FALSE; }

// Enters the type library (resource 1 of this file) and every class. A registration that fails
// half-way is removed again, so that no class points at a type library that is not registered.
STDAPI DllRegisterServer() {
    return com::boundary(GUID_NULL, [] {
        const std::wstring_view path = com::Module::path();
        try {
            remove_earlier_type_libraries();
            com::register_type_library(path);
            for (const ServedClass& c : served_classes()) com::register_class(c.info, path);
        } catch (...) {
            remove_registration();
            throw;
        }
    });
}

// Removes every key that DllRegisterServer wrote, and the type library's registration.
STDAPI DllUnregisterServer() {
    return com::boundary(GUID_NULL, [] { remove_registration(); });
}
