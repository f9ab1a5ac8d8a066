// The text of a whole type library: its identity and registration, then its classes (with
// what the registry says about each), interfaces, dispatch interfaces and enumerations, each
// group in the library's own order.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <string>

namespace dump {

std::wstring library_text(ITypeLib* lib);

}  // namespace dump
