// document-fuzz: the map-document fuzz suite. Opens mutated map documents (see mutations.h)
// with MapDocument.Open, one document object per case, and checks that each one either loads
// or fails with the document error naming the document and the place (a file that cannot be
// opened: the file error naming it); that none crashes or takes longer than the bound; and that
// nothing is left behind: no object of the model outlives its case, and the process's private
// bytes do not grow.
//
//   document-fuzz [--documents N] [--seed S] [--case K] [--bound-ms B]
//
// N documents (default 10,000) from seed S (default: a new one, printed). --case K makes and
// runs case K of seed S alone and says what it was. A failure prints the seed and the case to
// replay it. The program ends with one line per figure, `figure <name> value <v> goal <g>`, and
// exits with 1 when a figure misses its goal.
#include <windows.h>
#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>
#include "common/registration.h"
#include "fixture.h"
#include "generator.h"
#include "mutations.h"

namespace {

constexpr HRESULT E_BAD_DOCUMENT = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0201);

// The longest a document may take to open or be refused. The slowest cases are the 10 MB texts,
// which the JSON parser reads in 0.1 to 0.5 s (up to 2 s on a shared machine under heavy load);
// everything else takes milliseconds. A case that takes ten times as long counts as a hang and
// ends the run.
constexpr double kDefaultBoundMs = 5000;
// Growth of private bytes per thousand documents (after a first pass through every kind of
// case has brought the heaps to their working size) that still counts as stable.
constexpr double kGrowthGoalKbPer1000 = 1024;
// Error descriptions name a place and quote texts short; a longer one quotes too much.
constexpr size_t kLongestError = 1000;

struct Options {
    long documents = 10000;
    uint64_t seed = 0;
    bool seeded = false;
    long only = -1;
    double bound_ms = kDefaultBoundMs;
};

// The crash and hang report of the run (one per process).
fuzz::Guard* guard = nullptr;

std::string replay(uint64_t seed, long index) {
    char line[96];
    std::snprintf(line, sizeof line, "document-fuzz --seed 0x%016" PRIX64 " --case %ld", seed, index);
    return line;
}

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
        if (!v) return false;
        ++i;
        char* end = nullptr;
        if (a == "--documents") o.documents = std::strtol(v, &end, 10);
        else if (a == "--seed") o.seed = std::strtoull(v, &end, 0), o.seeded = true;
        else if (a == "--case") o.only = std::strtol(v, &end, 10);
        else if (a == "--bound-ms") o.bound_ms = std::strtod(v, &end);
        else return false;
        if (*end) return false;
    }
    return o.documents > 0 && o.bound_ms > 0;
}

std::string narrow(const std::wstring& w) { return com::narrow(w); }

// Whether an error description names the document and then the place: "<path>:<line>:<column>: "
// for the text, or "<path>: <member path>: " ("top level" for the document itself).
bool names_the_place(const std::wstring& error, const std::wstring& path) {
    if (error.compare(0, path.size(), path) != 0) return false;
    static const std::wregex place(LR"(^(:\d+:\d+: |: (top level|[A-Za-z]+(\[\d+\])*(\.[A-Za-z]+(\[\d+\])*)*): ))");
    return std::regex_search(error.substr(path.size(), 300), place);
}

struct Outcome {
    HRESULT hr = S_OK;
    std::wstring error;
    bool has_map = false;
    double ms = 0;
    long leaked = 0;
};

class Suite {
public:
    Suite(const Options& o, fuzz::Mutator& m) : o_(o), mutator_(m), folder_(dir_.file(L"a folder.json")) {
        CreateDirectoryW(folder_.c_str(), nullptr);
    }

    // Makes and opens one case; answers what went wrong ("" when nothing did).
    std::string run(long index) {
        fuzz::Case c = mutator_.make(o_.seed, index);
        std::wstring path = dir_.file(L"case " + std::to_wstring(index) + L".json");
        if (c.form == fuzz::Form::Folder) path = folder_;
        if (c.form == fuzz::Form::Text) mm::write_bytes(path, c.bytes);
        Outcome r = open(index, path);
        if (c.form == fuzz::Form::Text) DeleteFileW(path.c_str());
        last_ = r;
        ++ran_;
        if (r.ms > slowest_ms_) {
            slowest_ms_ = r.ms;
            slowest_ = "case " + std::to_string(index) + ", " + c.kind + ": " + c.what.substr(0, 120);
        }
        leaked_ += r.leaked;
        if (r.ms > o_.bound_ms) ++over_bound_;
        std::string fault = judge(c, path, r);
        if (!fault.empty()) ++wrong_;
        else if (SUCCEEDED(r.hr)) ++loaded_;
        else ++refused_;
        return fault.empty() ? "" : c.kind + " (" + c.what.substr(0, 200) + "): " + fault;
    }

    const Outcome& last() const { return last_; }

    // Prints the figures; answers whether all met their goals.
    bool report(SIZE_T first_kb, SIZE_T last_kb, double growth_kb_per_1000) const {
        std::printf("documents: %ld run, %ld loaded, %ld refused with a clear error, %ld wrong\n", ran_, loaded_, refused_, wrong_);
        std::printf("slowest: %.0f ms (%s)\n", slowest_ms_, slowest_.c_str());
        std::printf("private bytes: %.0f KB after the first pass, %.0f KB at the end\n", double(first_kb), double(last_kb));
        struct Figure {
            const char* name;
            double value, goal;
        } figures[] = {
            {"documents-crashes", 0, 0},
            {"documents-hangs", 0, 0},
            {"documents-over-bound", double(over_bound_), 0},
            {"documents-slowest-ms", slowest_ms_, o_.bound_ms},
            {"documents-wrong-errors", double(wrong_), 0},
            {"documents-leaked-objects", double(leaked_), 0},
            {"documents-private-growth-kb-per-1000", growth_kb_per_1000, kGrowthGoalKbPer1000},
        };
        bool met = true;
        for (const Figure& f : figures) {
            std::printf("figure %s value %.0f goal %.0f\n", f.name, f.value, f.goal);
            met = met && f.value <= f.goal;
        }
        return met;
    }

private:
    Outcome open(long index, const std::wstring& path) {
        Outcome r;
        long before = mm::live_objects();
        {
            auto doc = mm::create<IMapDocument>(CLSID_MapDocument);
            com::Bstr p(path);
            guard->begin(index);
            double start = fuzz::now_ms();
            r.hr = doc->Open(p.get());
            r.ms = fuzz::now_ms() - start;
            guard->end();
            r.error = mm::last_error();
            com::ComPtr<IMap> map;
            doc->get_Map(map.put());
            r.has_map = bool(map);
        }
        r.leaked = std::max(0L, mm::live_objects() - before);
        return r;
    }

    static std::string judge(const fuzz::Case& c, const std::wstring& path, const Outcome& r) {
        if (r.leaked) return std::to_string(r.leaked) + " objects of the model outlived the case";
        if (SUCCEEDED(r.hr)) return r.has_map ? "" : "it loaded but gave no map";
        if (r.has_map) return "it failed but gave a map";
        char hr[16];
        std::snprintf(hr, sizeof hr, "0x%08lX", static_cast<unsigned long>(r.hr));
        if (r.error.size() > kLongestError) return "an error of " + std::to_string(r.error.size()) + " characters";
        if (c.form != fuzz::Form::Text) {
            std::wstring named_it = path + L": cannot open the document: ";
            bool named = r.error.compare(0, named_it.size(), named_it) == 0;
            return named ? "" : std::string("the file error ") + hr + " does not name the document: " + narrow(r.error);
        }
        if (r.hr != E_BAD_DOCUMENT) return std::string("failed with ") + hr + " instead of the document error: " + narrow(r.error);
        if (!names_the_place(r.error, path)) return "the error does not name the document and the place: " + narrow(r.error);
        return "";
    }

    const Options& o_;
    fuzz::Mutator& mutator_;
    mm::TempFolder dir_;
    std::wstring folder_;
    Outcome last_;
    long ran_ = 0, loaded_ = 0, refused_ = 0, wrong_ = 0, over_bound_ = 0, leaked_ = 0;
    double slowest_ms_ = 0;
    std::string slowest_;
};

std::vector<fuzz::Base> bases() {
    std::vector<fuzz::Base> all;
    auto add = [&](std::string name, std::string text) {
        all.push_back({std::move(name), text, nlohmann::ordered_json::parse(text)});
    };
    std::wstring sample = test::program_dir() + L"\\sample-map.json";
    add("sample-map.json", mm::read_bytes(sample));
    // The sample as the model saves it: every member written out.
    mm::TempFolder dir;
    auto doc = mm::create<IMapDocument>(CLSID_MapDocument);
    com::check(doc->Open(com::Bstr(sample).get()));
    com::check(doc->Save(com::Bstr(dir.file(L"saved.json")).get()));
    add("saved sample", mm::read_bytes(dir.file(L"saved.json")));
    mapgen::Options small, medium;
    small.layers = 24, small.classes = 6, small.groups = 5;
    medium.layers = 80, medium.classes = 10, medium.groups = 7, medium.features = 8;
    add("mapgen 24x6", mapgen::text(small));
    add("mapgen 80x10", mapgen::text(medium));
    return all;
}

int fuzz_documents(const Options& o) {
    fuzz::Mutator mutator(bases());
    Suite suite(o, mutator);
    if (o.only >= 0) {
        // Said before it runs: a crash or a hang ends the program.
        fuzz::Case c = mutator.make(o.seed, o.only);
        std::printf("case %ld: %s: %s (%zu bytes)\n", o.only, c.kind.c_str(), c.what.substr(0, 500).c_str(), c.bytes.size());
        std::fflush(stdout);
        std::string fault = suite.run(o.only);
        const Outcome& r = suite.last();
        std::printf("%s in %.1f ms: %s\n", SUCCEEDED(r.hr) ? "loaded" : "refused", r.ms, narrow(r.error.substr(0, 500)).c_str());
        std::printf("%s\n", fault.empty() ? "as it should" : ("FAULT: " + fault).c_str());
        return fault.empty() ? 0 : 1;
    }

    std::printf("document fuzz: %ld documents, seed 0x%016" PRIX64 ", bound %.0f ms per document\n", o.documents, o.seed,
                o.bound_ms);
    std::fflush(stdout);
    // Every kind once before the private bytes are first measured.
    const long warm = long(fuzz::Mutator::kinds());
    SIZE_T baseline = 0;
    int shown = 0;
    for (long i = 0; i < o.documents; ++i) {
        if (i == std::min(warm, o.documents - 1)) baseline = fuzz::private_bytes();
        std::string fault = suite.run(i);
        if (!fault.empty() && shown++ < 20) {
            std::printf("FAULT in case %ld: %s\n  replay: %s\n", i, fault.c_str(), replay(o.seed, i).c_str());
        }
        if ((i + 1) % 1000 == 0) {
            std::printf("  %ld documents\n", i + 1);
            std::fflush(stdout);
        }
    }
    SIZE_T end = fuzz::private_bytes();
    double measured = double(std::max(1L, o.documents - warm));
    double growth = (double(end) - double(baseline)) / 1024.0 * 1000.0 / measured;
    return suite.report(baseline / 1024, end / 1024, std::max(growth, 0.0)) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr, "usage: document-fuzz [--documents N] [--seed S] [--case K] [--bound-ms B]\n");
        return 2;
    }
    if (!o.seeded) o.seed = fuzz::fresh_seed();
    // A case that takes ten times the bound counts as a hang.
    fuzz::Guard watch("documents", 10 * o.bound_ms, [&](long index) { return replay(o.seed, index); });
    guard = &watch;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 2;
    int rc = 2;
    try {
        mm::use_model();
        rc = fuzz_documents(o);
    } catch (const com::ComError& e) {
        std::fprintf(stderr, "document-fuzz: %s\n", e.what());
    }
    CoUninitialize();
    return rc;
}
