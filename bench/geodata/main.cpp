// geodata-bench: what opening geographic data costs.
//  (a) Open to first paint: the viewer adds the layers of a data file to an empty map and paints
//      its window (the control's tree and the map), against reading the same file and parsing its
//      JSON alone (nlohmann's parser, into its values). Goal: at most 3 times the parse.
//  (b) The model's private bytes per vertex of the features it holds after reading the file
//      (the peak while reading, model included, is shown beside it per byte of the file). Goal:
//      48 bytes.
// For a TopoJSON file of about 4 MB that the map generator writes (100 x 100 cells) and for the
// shipped world (countries-110m.json, beside the program).
//  (c) What reading a file costs, each read in a fresh process (data_cost.h): for hostile files
//      and the world.
// Usage: geodata-bench [runs] [--cost]   (runs per figure, at least 5; default 5; --cost: (c) only)
#include <windows.h>
#include <ole2.h>
#include <psapi.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>
#include <nlohmann/json.hpp>
#include "bench/common/figures.h"
#include "bench/common/map_model.h"
#include "bench/common/memory.h"
#include "bench/common/timing.h"
#include "com/bstr.h"
#include "com/error.h"
#include "com_server.h"
#include "data_cost.h"
#include "generator.h"
#include "user_input.h"
#include "viewer.h"

namespace {

constexpr double open_goal = 3.0;
constexpr double bytes_per_vertex_goal = 48;

// The viewer's questions, answered by no one: an error ends the benchmark.
class NoPrompts final : public viewer::Prompts {
public:
    std::optional<std::wstring> DocumentToOpen(HWND) override { return std::nullopt; }
    std::optional<std::wstring> DocumentToSave(HWND, const std::wstring&) override { return std::nullopt; }
    std::optional<std::wstring> DataToAdd(HWND) override { return std::nullopt; }
    Answer SaveChanges(HWND, const std::wstring&) override { return Answer::No; }
    void ShowError(HWND, const std::wstring& text) override { com::raise(E_FAIL, text); }
    UINT PickFromMenu(HWND, HMENU, POINT) override { return 0; }
};

std::string bytes_of(const std::wstring& path) {
    std::ifstream in(com::narrow(path), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

size_t peak_bytes() {
    PROCESS_MEMORY_COUNTERS c{};
    c.cb = sizeof c;
    return GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c) ? c.PeakPagefileUsage : 0;
}

// The vertices of the features of every layer of a data file.
long vertices(IDataFile* data) {
    long layers = 0, total = 0;
    com::check(data->get_LayerCount(&layers));
    for (long i = 0; i < layers; ++i) {
        com::ComPtr<ILayer> layer;
        com::check(data->get_Layer(i, layer.put()));
        com::ComPtr<IFeatureClass> features;
        com::check(layer.as<IFeatureLayer>()->get_FeatureClass(features.put()));
        long n = 0;
        com::check(features->get_FeatureCount(&n));
        for (long f = 0; f < n; ++f) {
            com::ComPtr<IGeometry> shape;
            com::check(features->get_Shape(f, shape.put()));
            long points = 0;
            if (auto polygon = shape.query<IPolygon>()) com::check(polygon->get_PointCount(&points));
            else if (auto line = shape.query<IPolyline>()) com::check(line->get_PointCount(&points));
            else points = 1;
            total += points;
        }
    }
    return total;
}

void measure(const std::wstring& path, const std::string& label, int runs, bench::Figures& figures) {
    const std::string text = bytes_of(path);
    std::printf("%s: %s, %.2f MB\n", label.c_str(), com::narrow(path).c_str(), double(text.size()) / (1 << 20));

    // (b) first, before other runs leave freed memory behind for reuse. A small file is read as
    // many times as hold some 300,000 vertices together, so that the heap's growth is measured
    // in many pages rather than in a few.
    const size_t before = bench::private_bytes(), peak_before = peak_bytes();
    std::vector<com::ComPtr<IDataFile>> copies;
    auto open = [&] {
        copies.push_back(host::create_object<IDataFile>(CLSID_DataFile, L"mapmodel.dll"));
        com::check(copies.back()->Open(com::Bstr(path).get()));
    };
    open();
    const size_t peak = peak_bytes();
    const long n = vertices(copies.front().get());
    while (double(copies.size()) * double(n) < 300000) open();
    const size_t after = bench::private_bytes();
    const double per_vertex = double(after - std::min(after, before)) / (double(n) * double(copies.size()));
    std::printf("  %ld vertices (read %zu times): %.1f bytes per vertex; the first reading raised the process's peak by %.1f "
                "bytes per byte of the file\n",
                n, copies.size(), per_vertex, peak > peak_before ? double(peak - peak_before) / double(text.size()) : 0.0);
    copies.clear();

    // (a) A new viewer for each run (made outside the timing); the clock runs from the command to
    // the end of the window's first paint with the data.
    NoPrompts prompts;
    std::optional<viewer::Viewer> shown;
    const bench::Comparison c = bench::compare(
        runs,
        [&] {
            shown.reset();
            shown.emplace(prompts);
            host::pump_messages();
            return bench::seconds_of([&] {
                shown->AddData(path);
                RedrawWindow(shown->window(), nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
            });
        },
        [&] {
            return bench::seconds_of([&] {
                const nlohmann::json parsed = nlohmann::json::parse(bytes_of(path));
                if (parsed.is_null()) std::abort();
            });
        },
        0);
    shown.reset();
    std::printf("  open to first paint %s ms, parse alone %s ms, ratio %s\n\n", c.subject.summary(1, 1000).c_str(),
                c.yardstick.summary(1, 1000).c_str(), c.ratio.summary().c_str());
    std::fflush(stdout);
    figures.ratio("geodata-open-paint-" + label, c.ratio, open_goal);
    figures.value("geodata-bytes-per-vertex-" + label, per_vertex, bytes_per_vertex_goal);
}

}  // namespace

int main(int argc, char** argv) {
    if (int rc = 0; data_cost::run_child(rc)) return rc;
    const bool cost_only = argc > 1 && std::string(argv[argc - 1]) == "--cost";
    const int runs = std::max(5, argc > 1 ? std::atoi(argv[1]) : 5);
    if (FAILED(OleInitialize(nullptr))) return 2;
    int rc = 0;
    if (!bench::use_map_model()) {
        std::fprintf(stderr, "cannot register mapmodel.dll beside the program\n");
        rc = 1;
    } else {
        try {
            wchar_t temp[MAX_PATH];
            GetTempPathW(MAX_PATH, temp);
            const std::wstring generated = std::wstring(temp) + L"geodata-bench-cells.topojson";
            {
                std::ofstream out(com::narrow(generated), std::ios::binary);
                out << mapgen::topology({});
            }
            bench::Figures figures;
            if (!cost_only) {
                measure(generated, "4mb", runs, figures);
                measure(host::program_dir() + L"countries-110m.json", "world", runs, figures);
            }
            DeleteFileW(generated.c_str());
            data_cost::measure(runs, figures);
            figures.print();
        } catch (const com::ComError& e) {
            std::fprintf(stderr, "failed: %s\n", com::narrow(e.description()).c_str());
            rc = 1;
        }
    }
    OleUninitialize();
    return rc;
}
