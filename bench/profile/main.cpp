// toc-profile: a sampling profile of the control as a host has it (kelpy.dll, embedded through
// the OLE control protocol), scenario by scenario: warm repaints, first repaints after a
// rebuild, rebuilds with legends; a bare tree view's and the peer's repaint as yardsticks. Each
// scenario runs for a few seconds while the sampler (sampler.h) takes the stack of this thread
// about once a millisecond; only the measured work is sampled (a first repaint's rebuild is not).
// For each: the share of the samples by the module they stopped in, then the functions by
// inclusive share (samples with the function anywhere on the stack) with their own share (the
// samples stopped in it). Time inside Wine's Unix side and its server shows as the system call
// that entered it (win32u!NtGdi..., win32u!NtUser..., ntdll!Nt...): see sampler.h.
//
// Usage: toc-profile [seconds] [--wine-dlls DIR] [--only NAME]
//   seconds: per scenario (default 3); DIR: where Wine keeps its PE libraries with their symbols
//   (default: Debian's folder for this architecture, through drive Z:); NAME: one scenario.
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
#include "bench/common/hosted_control.h"
#include "bench/common/map_maker.h"
#include "bench/common/map_model.h"
#include "bench/common/peer_toc.h"
#include "bench/common/timing.h"
#include "bench/profile/pe_symbols.h"
#include "bench/profile/sampler.h"
#include "com/error.h"

namespace {
constexpr int tree_width = 300;
constexpr int tree_height = 600;
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

struct Samples {
    std::vector<profile::Stack> stacks;
    long stale = 0;
    long operations = 0;
    double seconds = 0;  // of the work, sampling included
};

// Frames of this program and of the thread's start, and the boundary of a callback from Wine's
// Unix side (where a stack walk ends): on (nearly) every stack, telling nothing.
bool harness(const std::string& function) {
    return function.rfind("toc-profile!", 0) == 0 || function == "kernel32!BaseThreadInitThunk" ||
           function == "ntdll!RtlUserThreadStart" || function == "ntdll!KiUserCallbackDispatcher" ||
           function == Names::unix_side;
}

void report(const std::string& title, const Samples& taken, const Names& names) {
    const std::vector<profile::Stack>& samples = taken.stacks;
    const double per_operation = 1e6 * taken.seconds / double(std::max(1L, taken.operations));
    std::printf("\n== %s: %zu samples (and %ld stops that found the thread not yet running again); %ld runs of %.0f us\n"
                "   each (sampling included); the shares below in us per run in brackets\n",
                title.c_str(), samples.size(), taken.stale, taken.operations, per_operation);
    if (samples.empty()) return;
    std::map<std::string, int> by_module, self, inclusive;
    for (const profile::Stack& stack : samples) {
        ++by_module[names.module_of(stack.front())];
        ++self[names.function_of(stack.front())];
        std::set<std::string> seen;
        // A return address points after its call: the call itself is one byte before.
        for (size_t i = 0; i < stack.size(); ++i) seen.insert(names.function_of(i == 0 ? stack[i] : stack[i] - 1));
        for (const std::string& f : seen) ++inclusive[f];
    }
    const double total = double(samples.size());
    auto by_count = [](const std::map<std::string, int>& m) {
        std::vector<std::pair<int, std::string>> v;
        for (const auto& [k, n] : m) v.push_back({n, k});
        std::sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
        return v;
    };
    std::printf("stopped in:");
    for (const auto& [n, module] : by_count(by_module))
        if (n * 200 >= total) std::printf("  %s %.1f%%", module.c_str(), 100.0 * n / total);
    std::printf("\n%9s %7s %9s  %s\n", "inclusive", "self", "[us]", "function");
    int shown = 0;
    for (const auto& [n, function] : by_count(inclusive)) {
        if (harness(function)) continue;
        if (shown++ == top_functions) break;
        const auto own = self.find(function);
        const int own_samples = own == self.end() ? 0 : own->second;
        std::printf("%8.1f%% %6.1f%% [%7.0f]  %s\n", 100.0 * n / total, 100.0 * own_samples / total,
                    per_operation * n / total, function.c_str());
    }
    std::printf("%9s %7s %9s  %s\n", "", "self", "", "the functions most stopped in");
    shown = 0;
    for (const auto& [n, function] : by_count(self)) {
        if (shown++ == 25) break;
        std::printf("%9s %6.1f%% [%7.0f]  %s\n", "", 100.0 * n / total, per_operation * n / total, function.c_str());
    }
    std::fflush(stdout);
}

// Runs `setup` (not sampled) and `work` (sampled) again and again, until the work has taken
// `seconds`; the samples.
Samples sample(profile::Sampler& sampler, double seconds, const std::function<void()>& setup,
                                   const std::function<void()>& work) {
    sampler.take();
    double spent = 0;
    long operations = 0;
    while (spent < seconds) {
        setup();
        sampler.active(true);
        spent += bench::seconds_of(work);
        sampler.active(false);
        ++operations;
    }
    const long stale = sampler.stale();
    return {sampler.take(), stale, operations, spent};
}

void scroll_to_end(HWND tree) { SendMessageW(tree, WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0); }

struct Scenario {
    std::string name;
    std::function<Samples(profile::Sampler&, double)> run;
};

}  // namespace

int main(int argc, char** argv) {
    double seconds = 3;
    std::wstring wine_dlls = default_wine_dlls;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--wine-dlls" && i + 1 < argc) {
            const std::string dir = argv[++i];
            wine_dlls.assign(dir.begin(), dir.end());
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
        bench::HostedControl control_small(tree_width, tree_height), control_medium(tree_width, tree_height),
            control_large(tree_width, tree_height);
        control_small.show(small.get());
        control_medium.show(medium.get());
        control_large.show(large.get());
        bench::BareTree bare_large(tree_width, tree_height);
        bare_large.Fill(bench::read_items(control_large.tree()));
        bench::PeerToc peer_large(tree_width, tree_height), peer_medium(tree_width, tree_height);
        peer_large.show(large.get());
        peer_medium.show(medium.get());
        scroll_to_end(control_large.tree());
        scroll_to_end(bare_large.hWnd());
        scroll_to_end(peer_large.tree());

        const auto none = [] {};
        auto repaint = [](HWND tree) { return [tree] { RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }; };
        const std::vector<Scenario> scenarios = {
            {"repaint-101-top", [&](profile::Sampler& s, double t) { return sample(s, t, none, repaint(control_small.tree())); }},
            {"repaint-32k-end", [&](profile::Sampler& s, double t) { return sample(s, t, none, repaint(control_large.tree())); }},
            {"bare-repaint-32k-end", [&](profile::Sampler& s, double t) { return sample(s, t, none, repaint(bare_large.hWnd())); }},
            {"peer-repaint-32k-end", [&](profile::Sampler& s, double t) { return sample(s, t, none, repaint(peer_large.tree())); }},
            {"first-repaint-101-top",
             [&](profile::Sampler& s, double t) {
                 return sample(s, t, [&] { control_small.reset(); }, repaint(control_small.tree()));
             }},
            {"reset-legends-1k", [&](profile::Sampler& s, double t) { return sample(s, t, none, [&] { control_medium.reset(); }); }},
            {"reset-legends-32k", [&](profile::Sampler& s, double t) { return sample(s, t, none, [&] { control_large.reset(); }); }},
            {"peer-rebuild-1k", [&](profile::Sampler& s, double t) { return sample(s, t, none, [&] { peer_medium.rebuild(); }); }},
        };

        profile::Sampler sampler;
        const Names names(sampler.modules(), wine_dlls);
        std::printf("Sampling profile, about one sample a millisecond, %.1f s of work per scenario\n", seconds);
        for (const Scenario& scenario : scenarios) {
            if (!only.empty() && scenario.name != only) continue;
            report(scenario.name, scenario.run(sampler, seconds), names);
        }
    } catch (const com::ComError& e) {
        std::fprintf(stderr, "toc-profile: %s\n", e.what());
        return 1;
    }
    OleUninitialize();
    return 0;
}
