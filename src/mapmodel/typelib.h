// The MapModel type library: its generated interfaces and its identity for Dispatch<I>.
#pragma once
#include <windows.h>
#include <ole2.h>
#include "mapmodel.h"
#include "com/dispatch.h"

namespace mapmodel {

struct MapModelLib {
    static const GUID& libid() { return LIBID_MapModel; }
    static constexpr WORD major = 1;
    static constexpr WORD minor = 0;
};

template <class I>
using Dispatch = com::Dispatch<I, MapModelLib>;

}  // namespace mapmodel
