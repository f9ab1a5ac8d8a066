#include "kelpy/platform/version.h"
#include <cstring>
#include "com/error.h"
#include "com/module.h"

namespace kelpy::platform {

LibraryVersion ReadVersion(HMODULE module) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16) /* RT_VERSION */);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (!data) com::raise(HRESULT_FROM_WIN32(ERROR_RESOURCE_TYPE_NOT_FOUND), L"The library has no version resource");
    // The fixed part of the resource follows its key "VS_VERSION_INFO" on a 32-bit boundary;
    // it is found by its signature, which is what VerQueryValue does as well.
    const DWORD size = SizeofResource(module, found);
    for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
        VS_FIXEDFILEINFO info;
        std::memcpy(&info, data + at, sizeof info);
        if (info.dwSignature != VS_FFI_SIGNATURE) continue;
        return {int(HIWORD(info.dwFileVersionMS)), int(LOWORD(info.dwFileVersionMS)),
                int(HIWORD(info.dwFileVersionLS))};
    }
    com::raise(HRESULT_FROM_WIN32(ERROR_INVALID_DATA), L"The library's version resource holds no file version");
}

LibraryVersion Version() { return ReadVersion(com::Module::handle()); }

}  // namespace kelpy::platform
