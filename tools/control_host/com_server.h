// Objects of our in-process COM servers (mapmodel.dll, kelpy.dll) for the programs that ship beside
// them: through the class's registration when it is registered, else from the library of that name
// in the program's own folder, through its class factory (the library then stays loaded for the
// life of the process).
#pragma once
#include <windows.h>
#include <string>
#include "com/ptr.h"

namespace host {

// The folder of the running program, with a trailing backslash.
std::wstring program_dir();

// A new object of the class `clsid`, answering `iid`, from its registered server or from `dll`
// beside the program. Throws com::ComError naming the library when neither has the class.
com::ComPtr<IUnknown> create_object(REFCLSID clsid, const wchar_t* dll);

// A new object of the class `clsid` from `dll` beside the program, through the library's own
// class factory, whatever the system has registered for the class.
com::ComPtr<IUnknown> object_from_library(REFCLSID clsid, const wchar_t* dll);

template <class I>
com::ComPtr<I> create_object(REFCLSID clsid, const wchar_t* dll) {
    return create_object(clsid, dll).as<I>();
}

}  // namespace host
