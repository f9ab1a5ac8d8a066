// mapgen: writes a map document of N layers with K classes each, or a TopoJSON file of
// N x N cells, for benchmarks.
//
//   mapgen --layers N --classes K [--groups G] [--features F] [--out FILE] [--check]
//   mapgen --topojson [--cells N] [--detail D] [--out FILE] [--check]
//
// The documents are described in generator.h (K classes per renderer, F features per feature
// layer, default 4; with --groups G, G consecutive layers form a group). The document goes to
// FILE (default: standard output); --check loads it back with the model's own loader and
// reports the layer count or the error. With --topojson it writes the topology described in
// generator.h (100 cells a side and detail 12 by default: about 4 MB); --check then reads it
// back as a data file.
#include <windows.h>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include "com/bstr.h"
#include "com/error.h"
#include "generator.h"
#include "mapmodel/document/map_loader.h"
#include "mapmodel/geodata/data_file.h"

namespace {

struct Options : mapgen::Options {
    mapgen::TopologyOptions topology;
    bool topojson = false;
    std::string out;
    bool check = false;
};

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto number = [&](long& v) {
            if (i + 1 >= argc) return false;
            char* end = nullptr;
            v = std::strtol(argv[++i], &end, 10);
            return *end == 0 && v >= 0;
        };
        bool ok = true;
        if (a == "--layers") ok = number(o.layers);
        else if (a == "--classes") ok = number(o.classes);
        else if (a == "--groups") ok = number(o.groups);
        else if (a == "--features") ok = number(o.features);
        else if (a == "--topojson") o.topojson = true;
        else if (a == "--cells") ok = number(o.topology.cells);
        else if (a == "--detail") ok = number(o.topology.detail);
        else if (a == "--out" && i + 1 < argc) o.out = argv[++i];
        else if (a == "--check") o.check = true;
        else ok = false;
        if (!ok) {
            std::fprintf(stderr, "mapgen: bad argument %s\n", a.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr, "usage: mapgen --layers N --classes K [--groups G] [--features F] [--out FILE] [--check]\n"
                             "       mapgen --topojson [--cells N] [--detail D] [--out FILE] [--check]\n");
        return 2;
    }
    std::string text = o.topojson ? mapgen::topology(o.topology) : mapgen::text(o);
    if (o.out.empty()) {
        std::fwrite(text.data(), 1, text.size(), stdout);
    } else {
        std::ofstream f(o.out, std::ios::binary);
        f << text;
        if (!f) {
            std::fprintf(stderr, "mapgen: cannot write %s\n", o.out.c_str());
            return 1;
        }
    }
    if (!o.check) return 0;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    int rc = 0;
    try {
        const std::wstring name = com::widen(o.out.empty() ? "(generated)" : o.out);
        if (o.topojson) {
            const auto layers = mapmodel::geodata::read_data(text, name, name);
            std::fprintf(stderr, "mapgen: the topology reads: %zu layers\n", layers.size());
        } else {
            auto map = mapmodel::document::load_map(text, name);
            long n = 0;
            com::check(map->get_LayerCount(&n));
            std::fprintf(stderr, "mapgen: the document loads: %ld top-level layers\n", n);
        }
    } catch (const com::ComError& e) {
        std::fprintf(stderr, "mapgen: the document does not load: %s\n", com::narrow(e.description()).c_str());
        rc = 1;
    }
    CoUninitialize();
    return rc;
}
