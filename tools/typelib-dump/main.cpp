// typelib-dump: prints a registered type library as text. By default the library is KELPY
// (version 9.2), loaded through its registration with LoadRegTypeLib, so that the output shows
// what a host sees after registration.
//
//   typelib-dump [--register <file.tlb>]... [--library {libid} <major>.<minor>]
//
// --register registers a type library file first (for example a library that another one
// imports, so that the imported types resolve).
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <cstdio>
#include <string>
#include <vector>
#include "com/bstr.h"
#include "com/error.h"
#include "com/ptr.h"
#include "kelpy.h"
#include "library_text.h"

namespace {

struct Options {
    std::vector<std::wstring> register_files;
    GUID libid = LIBID_KELPY;
    WORD major = 9, minor = 2;
};

[[noreturn]] void usage(const std::wstring& why) {
    std::fprintf(stderr, "typelib-dump: %s\nusage: typelib-dump [--register <file.tlb>]... "
                         "[--library {libid} <major>.<minor>]\n", com::narrow(why).c_str());
    std::exit(2);
}

Options parse(int argc, wchar_t** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::wstring a = argv[i];
        if (a == L"--register" && i + 1 < argc) {
            o.register_files.push_back(argv[++i]);
        } else if (a == L"--library" && i + 2 < argc) {
            if (FAILED(CLSIDFromString(argv[++i], &o.libid))) usage(L"not a library id: " + std::wstring(argv[i]));
            unsigned major = 0, minor = 0;
            if (swscanf(argv[++i], L"%u.%u", &major, &minor) != 2 || major > 0xFFFF || minor > 0xFFFF)
                usage(L"not a version: " + std::wstring(argv[i]));
            o.major = WORD(major);
            o.minor = WORD(minor);
        } else {
            usage(L"unexpected argument: " + a);
        }
    }
    return o;
}

void register_file(const std::wstring& path) {
    com::ComPtr<ITypeLib> lib;
    HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_REGISTER, lib.put());
    if (FAILED(hr)) com::raise(hr, L"Could not register the type library " + path + L": " + com::describe(hr));
}

void print(const std::wstring& text) {
    std::string utf8 = com::narrow(text);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const Options options = parse(argc, argv);
    LocalFree(argv);

    if (FAILED(CoInitialize(nullptr))) return 1;
    int rc = 0;
    try {
        for (const auto& f : options.register_files) register_file(f);
        com::ComPtr<ITypeLib> lib;
        HRESULT hr = LoadRegTypeLib(options.libid, options.major, options.minor, LOCALE_NEUTRAL, lib.put());
        if (FAILED(hr)) com::raise(hr, L"The type library is not registered: " + com::describe(hr));
        print(dump::library_text(lib.get()));
    } catch (const com::ComError& e) {
        std::fprintf(stderr, "typelib-dump: %s\n", e.what());
        rc = 1;
    }
    CoUninitialize();
    return rc;
}
