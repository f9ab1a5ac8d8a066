#include "data_cost.h"
#include <windows.h>
#include <ole2.h>
#include <psapi.h>
#include <shellapi.h>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>
#include <nlohmann/json.hpp>
#include "bench/common/timing.h"
#include "com/bstr.h"
#include "com/error.h"
#include "com_server.h"
#include "generator.h"
#include "mapmodel.h"

namespace data_cost {

namespace {

constexpr double memory_goal = 8, read_goal = 3;

std::string bytes_of(const std::wstring& path) {
    std::ifstream in(com::narrow(path), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The working set and its peak so far. (Wine answers these from the process's resident pages:
// the peak is the high-water mark of its resident set; the call's page-file counters give the
// current value only, never a peak.)
PROCESS_MEMORY_COUNTERS counters() {
    PROCESS_MEMORY_COUNTERS c{};
    c.cb = sizeof c;
    GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c);
    return c;
}

// The child's part: the idle process (OLE started, the map model loaded and a small file read
// once, so that what the first reading of any file sets up once is not counted) is measured,
// then the file is read once and the peak measured. The idle process's memory is its peak so
// far: its start-up may have touched more than it holds now, and the reading's peak counts only
// where it goes beyond that.
int read_once(const std::wstring& path, const std::wstring& warm_up) {
    if (FAILED(OleInitialize(nullptr))) return 2;
    int rc = 0;
    try {
        auto data = host::object_from_library(CLSID_DataFile, L"mapmodel.dll").as<IDataFile>();
        com::check(host::object_from_library(CLSID_DataFile, L"mapmodel.dll").as<IDataFile>()->Open(com::Bstr(warm_up).get()));
        const com::Bstr name(path);
        const size_t idle = counters().PeakWorkingSetSize;
        HRESULT hr = S_OK;
        const double seconds = bench::seconds_of([&] { hr = data->Open(name.get()); });
        const size_t peak = counters().PeakWorkingSetSize;
        std::printf("read %.9f %zu %zu %s\n", seconds, idle, peak, SUCCEEDED(hr) ? "opened" : "refused");
    } catch (const com::ComError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        rc = 1;
    }
    OleUninitialize();
    return rc;
}

int parse_once(const std::wstring& path) {
    const double seconds = bench::seconds_of([&] {
        const nlohmann::json parsed = nlohmann::json::parse(bytes_of(path));
        if (parsed.is_null()) std::abort();
    });
    std::printf("parse %.9f\n", seconds);
    return 0;
}

// Runs this program with the arguments; its standard output.
std::string run_self(const std::wstring& arguments) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read_end = nullptr, write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inherit, 1 << 16)) com::raise(E_FAIL, L"cannot make a pipe");
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = write_end;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::wstring command = L"\"" + std::wstring(self) + L"\" " + arguments;
    PROCESS_INFORMATION child{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child);
    CloseHandle(write_end);
    if (!started) {
        CloseHandle(read_end);
        com::raise(E_FAIL, L"cannot start " + command);
    }
    std::string out;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(read_end, buffer, sizeof buffer, &n, nullptr) && n) out.append(buffer, n);
    WaitForSingleObject(child.hProcess, INFINITE);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    CloseHandle(read_end);
    return out;
}

struct DataFile {
    std::string label;
    std::wstring path;
    bool generated;
};

std::wstring write_generated(const std::wstring& name, const std::string& text) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"data-cost-" + name;
    std::ofstream(com::narrow(path), std::ios::binary) << text;
    return path;
}

}  // namespace

bool run_child(int& rc) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::wstring mode = argc >= 3 ? argv[1] : L"", path = argc >= 3 ? argv[2] : L"", warm_up = argc >= 4 ? argv[3] : L"";
    LocalFree(argv);
    if (mode == L"--read") rc = read_once(path, warm_up);
    else if (mode == L"--parse") rc = parse_once(path);
    else return false;
    return true;
}

void measure(int runs, bench::Figures& figures) {
    const std::vector<DataFile> files = {
        {"repeated-arc", write_generated(L"repeated-arc.topojson", mapgen::repeated_arc_topology(100000, 500000)), true},
        {"own-names", write_generated(L"own-names.geojson", mapgen::points_with_own_names(50000)), true},
        {"stepping-ring", write_generated(L"stepping-ring.geojson", mapgen::stepping_ring(130000)), true},
        {"world", host::program_dir() + L"countries-110m.json", false},
    };
    const std::wstring warm_up = write_generated(L"warm-up.geojson", R"({"type": "Feature", "properties": {"a": 1}, )"
                                                                        R"("geometry": {"type": "Point", "coordinates": [1, 2]}})");
    std::printf("Reading a data file in a fresh process (%d runs each): peak working set while reading, less the idle "
                "process's, per byte of the file; the time to read or refuse it against parsing its JSON alone\n", runs);
    for (const DataFile& f : files) {
        const double size = double(bytes_of(f.path).size());
        bench::Samples memory, ratio, read_ms, parse_ms;
        std::string result;
        for (int i = 0; i < runs; ++i) {
            const std::string read = run_self(L"--read \"" + f.path + L"\" \"" + warm_up + L"\""), parse = run_self(L"--parse \"" + f.path + L"\"");
            double read_s = 0, parse_s = 0;
            size_t idle = 0, peak = 0;
            char outcome[16] = {};
            if (std::sscanf(read.c_str(), "read %lf %zu %zu %15s", &read_s, &idle, &peak, outcome) != 4 ||
                std::sscanf(parse.c_str(), "parse %lf", &parse_s) != 1)
                com::raise(E_FAIL, L"a child answered nothing for " + f.path);
            result = outcome;
            memory.add(double(peak > idle ? peak - idle : 0) / size);
            ratio.add(read_s / parse_s);
            read_ms.add(read_s * 1000);
            parse_ms.add(parse_s * 1000);
        }
        std::printf("  %-14s %6.2f MB %-8s read %s ms, parse %s ms, ratio %s; memory %s bytes per byte\n", f.label.c_str(),
                    size / (1 << 20), result.c_str(), read_ms.summary(1).c_str(), parse_ms.summary(1).c_str(),
                    ratio.summary().c_str(), memory.summary(1).c_str());
        std::fflush(stdout);
        figures.ratio("memory-" + f.label, memory, memory_goal);
        figures.ratio("read-" + f.label, ratio, read_goal);
        if (f.generated) DeleteFileW(f.path.c_str());
    }
    DeleteFileW(warm_up.c_str());
}

}  // namespace data_cost
