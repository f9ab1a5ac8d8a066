// The entry points of mapmodel.dll: class objects, self-registration and unloading.
#include <windows.h>
#include <objbase.h>
#include "com/boundary.h"
#include "com/module.h"
#include "mapmodel/module/classes.h"
#include "mapmodel/typelib.h"

using mapmodel::creatable_classes;

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (const auto& c : creatable_classes())
        if (*c.info.clsid == clsid) return com::make_class_factory(c.create, riid, out);
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return com::Module::can_unload() ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
    return com::boundary(GUID_NULL, [] {
        com::register_type_library(com::Module::path());
        for (const auto& c : creatable_classes()) com::register_class(c.info, com::Module::path());
    });
}

STDAPI DllUnregisterServer() {
    return com::boundary(GUID_NULL, [] {
        for (const auto& c : creatable_classes()) com::unregister_class(c.info);
        com::unregister_type_library(LIBID_MapModel, mapmodel::MapModelLib::major, mapmodel::MapModelLib::minor);
    });
}
