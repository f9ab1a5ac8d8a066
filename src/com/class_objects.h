// create_instance: an in-process object of a registered class, like CoCreateInstance, but with
// the class object of each class looked up once per thread and kept: making many small objects
// of another library (geometries, colours, transformations for every legend row) then costs
// no registry lookup each time (under Wine about 75 us per CoCreateInstance, against 0.1 us).
//
// A kept class object holds its library loaded. The objects are released when the thread ends
// while COM is still initialised on it; otherwise they are left to the process's end, since
// their library may already be gone. A class object registered later with
// CoRegisterClassObject for a class already cached is not seen on that thread.
#pragma once
#include <windows.h>
#include <objbase.h>
#include "com/ptr.h"

namespace com {

// The class object of an in-process class, looked up on this thread's first use (borrowed).
IClassFactory* class_object(REFCLSID clsid);

template <class I>
ComPtr<I> create_instance(REFCLSID clsid) {
    ComPtr<I> r;
    check(class_object(clsid)->CreateInstance(nullptr, __uuidof(I), r.put_void()));
    if (!r) raise(CTL_E_OBJECTNOTSET, L"A class object made no object");
    return r;
}

}  // namespace com
