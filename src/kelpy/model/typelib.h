// The KELPY type library: its generated interfaces and its identity for Dispatch<I, KelpyLib>.
#pragma once
#include <windows.h>
#include <ole2.h>
#include "kelpy.h"
#include "com/dispatch.h"

namespace kelpy {

struct KelpyLib {
    static const GUID& libid() { return LIBID_KELPY; }
    static constexpr WORD major = 9;
    static constexpr WORD minor = 2;
};

template <class I>
using Dispatch = com::Dispatch<I, KelpyLib>;

}  // namespace kelpy
