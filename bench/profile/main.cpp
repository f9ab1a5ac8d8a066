// toc-profile: where the time goes, by a sampling profile of the control as a host has it
// (kelpy.dll, embedded through the OLE control protocol), compared side by side with what it is
// measured against: its repaint with a bare tree view's and the peer's, its first repaint after a
// Reset with its repaint with every swatch painted before, its Reset with a bare tree's rebuild
// and the peer's, its drag's mouse moves with those of a host's own drag over a bare tree. The two sides of a comparison run alternately, so that the machine's busy
// moments fall on both alike, while the sampler (sampler.h) takes the stack of this thread about
// every few milliseconds; only the runs themselves are sampled (a first repaint's Reset is not).
// For each side: microseconds per run by the module the samples stopped in, then by function,
// both inclusive (the function anywhere on the stack) and stopped in, the two sides next to
// each other. Time inside Wine's Unix side and its server shows as the system call that entered
// it (win32u!NtGdi..., win32u!NtUser..., ntdll!Nt...): see sampler.h. Beside the samples, the
// calls that the tree and its theme make to GetFocus and GetPropW (two requests to the server made
// per painted row) are counted per run (import_counter.h).
//
// Usage: toc-profile [seconds] [--every MS] [--wine-dlls DIR] [--only NAME]
//   seconds: of each side's sampled runs per comparison (default 6); MS: the sampling interval
//   (default 5); DIR: where Wine keeps its PE
//   libraries with their symbols (default: Debian's folder for this architecture, through drive
//   Z:); NAME: one comparison (repaint-101-top, repaint-32k-end, peer-repaint-32k-end,
//   first-paint-101-top, reset-legends-1k, peer-reset-legends-1k, drag-move-101-top,
//   drop-1k, first-paint-101-end).
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>
#include "bench/common/bare_tree.h"
#include "bench/common/drag_moves.h"
#include "bench/common/figures.h"
#include "bench/common/hosted_control.h"
#include "bench/common/map_maker.h"
#include "bench/common/map_model.h"
#include "bench/common/peer_toc.h"
#include "bench/common/timing.h"
#include "bench/profile/import_counter.h"
#include "bench/profile/pe_symbols.h"
#include "bench/profile/sampler.h"
#include "com/error.h"

namespace {
constexpr int top_functions = 40;

#ifdef _WIN64
constexpr wchar_t default_wine_dlls[] = L"Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows";
#else
constexpr wchar_t default_wine_dlls[] = L"Z:\\usr\\lib\\i386-linux-gnu\\wine\\i386-windows";
#endif

std::string narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s += c < 128 ? char(c) : '?';
    return s;
}

// Names of addresses: "module!function", the module without its extension.
class Names {
public:
    Names(const std::vector<profile::Module>& modules, std::wstring wine_dlls) {
        for (const profile::Module& m : modules) symbols_.emplace_back(m, wine_dlls);
    }
    std::string module_of(uintptr_t address) const {
        const profile::ModuleSymbols* s = find(address);
        return s ? short_name(*s) : unix_side;
    }
    std::string function_of(uintptr_t address) const {
        const profile::ModuleSymbols* s = find(address);
        return s ? short_name(*s) + "!" + s->name_of(address) : unix_side;
    }
    static constexpr const char* unix_side = "(outside the modules)";

private:
    const profile::ModuleSymbols* find(uintptr_t address) const {
        for (const profile::ModuleSymbols& s : symbols_)
            if (s.module().contains(address)) return &s;
        return nullptr;
    }
    static std::string short_name(const profile::ModuleSymbols& s) {
        std::string n = narrow(s.module().name);
        std::transform(n.begin(), n.end(), n.begin(), [](char c) { return char(std::tolower(c)); });
        const size_t dot = n.rfind('.');
        return dot == std::string::npos ? n : n.substr(0, dot);
    }
    std::vector<profile::ModuleSymbols> symbols_;
};

// Frames of this program and of the thread's start, and the boundary of a callback from Wine's
// Unix side (where a stack walk ends): on (nearly) every stack, telling nothing.
bool harness(const std::string& function) {
    return function.rfind("toc-profile!", 0) == 0 || function == "kernel32!BaseThreadInitThunk" ||
           function == "ntdll!RtlUserThreadStart" || function == "ntdll!KiUserCallbackDispatcher" ||
           function == Names::unix_side;
}

// One side of a comparison: what prepares a run (not sampled) and the run itself (sampled).
struct Side {
    std::string what;
    std::function<void()> setup, work;
};

// The samples of one side, and its runs.
struct Bucket {
    std::vector<profile::Stack> stacks;
    long stale = 0, runs = 0;
    double seconds = 0;  // of the runs, sampling included
    double us_per_run() const { return 1e6 * seconds / double(std::max(1L, runs)); }
    bench::Samples unsampled;  // seconds of runs without sampling
    profile::CallCounts calls;  // of the runs without sampling
    // Microseconds per run of each function: anywhere on the stack (inclusive) and stopped in it.
    std::map<std::string, double> inclusive, self;
    void attribute(const Names& names) {
        const double share = stacks.empty() ? 0 : us_per_run() / double(stacks.size());
        for (const profile::Stack& stack : stacks) {
            self[names.function_of(stack.front())] += share;
            std::set<std::string> seen;
            // A return address points after its call: the call itself is one byte before.
            for (size_t i = 0; i < stack.size(); ++i) seen.insert(names.function_of(i == 0 ? stack[i] : stack[i] - 1));
            for (const std::string& f : seen) inclusive[f] += share;
        }
    }
};

void run_side(profile::Sampler& sampler, profile::ImportCounter& counter, const Side& side, Bucket& bucket) {
    side.setup();
    counter.take();
    bucket.unsampled.add(bench::seconds_of(side.work));
    const profile::CallCounts calls = counter.take();
    bucket.calls.get_focus += calls.get_focus;
    bucket.calls.get_prop += calls.get_prop;
    side.setup();
    sampler.take();
    sampler.active(true);
    bucket.seconds += bench::seconds_of(side.work);
    sampler.active(false);
    bucket.stale += sampler.stale();
    for (profile::Stack& s : sampler.take()) bucket.stacks.push_back(std::move(s));
    ++bucket.runs;
}

double at(const std::map<std::string, double>& m, const std::string& key) {
    const auto it = m.find(key);
    return it == m.end() ? 0.0 : it->second;
}

// The functions of both sides, the largest first by the larger of the two.
void print_table(const char* what, const std::map<std::string, double>& a, const std::map<std::string, double>& b, int rows) {
    std::vector<std::pair<double, std::string>> order;
    std::set<std::string> keys;
    for (const auto& [k, v] : a) keys.insert(k);
    for (const auto& [k, v] : b) keys.insert(k);
    for (const std::string& k : keys)
        if (!harness(k)) order.push_back({std::max(at(a, k), at(b, k)), k});
    std::sort(order.begin(), order.end(), [](const auto& x, const auto& y) { return x.first > y.first; });
    std::printf("%9s %9s %9s  %s\n", "subject", "yardstick", "more", what);
    for (int i = 0; i < rows && i < int(order.size()); ++i) {
        const std::string& k = order[size_t(i)].second;
        std::printf("%9.0f %9.0f %+9.0f  %s\n", at(a, k), at(b, k), at(a, k) - at(b, k), k.c_str());
    }
}

// Samples two sides run alternately, until each has run for `seconds`, and prints where each
// spent its time, in microseconds per run, side by side.
void compare(profile::Sampler& sampler, profile::ImportCounter& counter, const Names& names, const std::string& title,
             const Side& subject, const Side& yardstick, double seconds) {
    Bucket s, y;
    while (s.seconds < seconds || y.seconds < seconds) {
        run_side(sampler, counter, subject, s);
        run_side(sampler, counter, yardstick, y);
    }
    s.attribute(names);
    y.attribute(names);
    std::printf("\n== %s\n", title.c_str());
    for (const auto& [side, b] : {std::pair{&subject, &s}, std::pair{&yardstick, &y}})
        std::printf("   %-9s %s: %ld runs of %.0f us (sampling included), %zu samples (%ld stops found the thread\n"
                    "             not yet running again); unsampled %s us; per run, the tree and its theme ask\n"
                    "             GetFocus %.1f times and GetPropW %.1f times\n",
                    side == &subject ? "subject" : "yardstick", side->what.c_str(), b->runs, b->us_per_run(),
                    b->stacks.size(), b->stale, b->unsampled.summary(0, 1e6).c_str(),
                    double(b->calls.get_focus) / double(b->runs), double(b->calls.get_prop) / double(b->runs));
    std::map<std::string, double> sm, ym;
    for (const profile::Stack& st : s.stacks) sm[names.module_of(st.front())] += s.us_per_run() / double(s.stacks.size());
    for (const profile::Stack& st : y.stacks) ym[names.module_of(st.front())] += y.us_per_run() / double(y.stacks.size());
    print_table("stopped in module (us per run)", sm, ym, 8);
    print_table("function, inclusive (us per run)", s.inclusive, y.inclusive, top_functions);
    print_table("function stopped in (us per run)", s.self, y.self, 20);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = 6;
    DWORD interval_ms = 5;
    std::wstring wine_dlls = default_wine_dlls;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--wine-dlls" && i + 1 < argc) {
            const std::string dir = argv[++i];
            wine_dlls.assign(dir.begin(), dir.end());
        } else if (arg == "--every" && i + 1 < argc) {
            interval_ms = DWORD(std::max(1, std::atoi(argv[++i])));
        } else if (arg == "--only" && i + 1 < argc) {
            only = argv[++i];
        } else {
            seconds = std::max(0.5, std::atof(arg.c_str()));
        }
    }
    if (FAILED(OleInitialize(nullptr))) return 2;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    if (!bench::use_map_model()) {
        std::fprintf(stderr, "toc-profile: cannot register mapmodel.dll beside the program\n");
        return 1;
    }
    try {
        com::ComPtr<IMap> small = bench::make_map(100), medium = bench::make_map(1000), large = bench::make_map(32000);
        // The trees to profile, built before the sampler reads the module list.
        bench::HostedControl control_small(bench::tree_width, bench::tree_height), control_medium(bench::tree_width, bench::tree_height),
            control_large(bench::tree_width, bench::tree_height);
        control_small.show(small.get());
        control_medium.show(medium.get());
        control_large.show(large.get());
        bench::BareTree bare_large(bench::tree_width, bench::tree_height);
        bare_large.Fill(bench::read_items(control_large.tree()));
        bench::PeerToc peer_large(bench::tree_width, bench::tree_height), peer_medium(bench::tree_width, bench::tree_height);
        peer_large.show(large.get());
        peer_medium.show(medium.get());
        bench::scroll_to_end(control_large.tree());
        bench::scroll_to_end(bare_large.hWnd());
        bench::scroll_to_end(peer_large.tree());

        const auto none = [] {};
        auto repaint = [](HWND tree) {
            return [tree] { RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); };
        };
        const std::vector<bench::TreeItem> items_small = bench::read_items(control_small.tree());
        const std::vector<bench::TreeItem> items_medium = bench::read_items(control_medium.tree());
        bench::BareTree bare_small(bench::tree_width, bench::tree_height), bare_medium(bench::tree_width, bench::tree_height);
        bare_small.Fill(items_small);
        bare_medium.Fill(items_medium);

        // A drag running over a control of its own and a bare tree beside it (so that the pointer
        // can be over either).
        bench::HostedControl control_drag(bench::tree_width, bench::tree_height);
        control_drag.show(small.get());
        bench::BareTree bare_drag(bench::tree_width, bench::tree_height);
        SetWindowPos(GetParent(bare_drag.hWnd()), nullptr, 2 * bench::tree_width, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        bare_drag.Fill(items_small);
        bench::start_drag(control_drag.tree());
        const std::vector<POINT> drag_points = bench::label_points(control_drag.tree(), 4);
        bench::HostDrag host_drag(bare_drag.hWnd());

        const Side control_warm_small{"the control's repaint", none, repaint(control_small.tree())};
        const Side control_warm_large{"the control's repaint", none, repaint(control_large.tree())};
        const Side control_reset_medium{"the control's Reset", none, [&] { control_medium.reset(); }};
        struct Pair {
            std::string name;
            Side subject, yardstick;
        };
        const std::vector<Pair> pairs = {
            {"repaint-101-top", control_warm_small, {"a bare tree's repaint", none, repaint(bare_small.hWnd())}},
            {"repaint-32k-end", control_warm_large, {"a bare tree's repaint", none, repaint(bare_large.hWnd())}},
            {"peer-repaint-32k-end", control_warm_large, {"the peer's repaint", none, repaint(peer_large.tree())}},
            {"first-paint-101-top",
             {"the control's first repaint after a Reset", [&] { control_small.reset(); }, repaint(control_small.tree())},
             control_warm_small},
            {"reset-legends-1k", control_reset_medium, {"a bare tree's rebuild", none, [&] { bare_medium.Fill(items_medium); }}},
            {"peer-reset-legends-1k", control_reset_medium, {"the peer's rebuild", none, [&] { peer_medium.rebuild(); }}},
            {"drag-move-101-top",
             {"the control's drag moves", none, [&] { bench::moves_seconds(control_drag.tree(), drag_points); }},
             {"a bare tree's moves with its host's drag", none, [&] { bench::moves_seconds(bare_drag.hWnd(), drag_points); }}},
            // The drag above holds the mouse until it ends.
            {"drop-1k",
             {"the control's drop", [&] { bench::end_drag(control_drag.tree()); },
              [&] { bench::drop_seconds(control_medium.tree(), medium.get()); }},
             {"a bare tree's rebuild and repaint", none, [&] {
                  bare_medium.Fill(items_medium);
                  bench::repaint_seconds(bare_medium.hWnd());
              }}},
            // Last: it leaves the small control scrolled to the end.
            {"first-paint-101-end",
             {"the control's first repaint after a Reset, scrolled to the end",
              [&] {
                  control_small.reset();
                  bench::scroll_to_end(control_small.tree());
              },
              repaint(control_small.tree())},
             {"the control's repaint at the end", [&] { bench::scroll_to_end(control_small.tree()); },
              repaint(control_small.tree())}},
        };

        profile::Sampler sampler(interval_ms);
        profile::ImportCounter counter({L"comctl32.dll", L"uxtheme.dll"});
        const Names names(sampler.modules(), wine_dlls);
        std::printf("Sampling profile, a sample every %lu ms or so, %.1f s of each side's sampled runs per comparison,\n"
                    "the two sides run alternately; each side also runs as often without sampling\n",
                    static_cast<unsigned long>(interval_ms), seconds);
        for (const Pair& pair : pairs) {
            if (!only.empty() && pair.name != only) continue;
            compare(sampler, counter, names, pair.name + ": " + pair.subject.what + " against " + pair.yardstick.what,
                    pair.subject, pair.yardstick, seconds);
        }
    } catch (const com::ComError& e) {
        std::fprintf(stderr, "toc-profile: %s\n", e.what());
        return 1;
    }
    OleUninitialize();
    return 0;
}
