// model-faults: a person's actions on the control with each map-model call failing in turn. The
// control, hosted by our own container and bound to the sample map, performs each action (clicks
// on check images, drops of every kind, symbols picked for legend rows, a rebuild) once to count
// the model calls it makes, then once per call with that call failing (the model's ModelInfo
// makes the chosen call fail; with --in-a-row K, that call and the K - 1 after it, so that the
// control's recovery from a failure meets failures too; a drop's calls are then counted from the
// button's release, and each of the first 64, the move and its put-back, is tried before the
// spread). After each failing run:
//   - the action reported the failure (a rebuild returns it; a mouse action, handled inside the
//     tree's window procedure, reports it to the debugger output, which this program reads);
//   - every layer of the map sits in exactly one place, none lost, none new;
//   - no capture, drag timer or custom pointer is left;
//   - the next actions work: a Reset returns S_OK and the tree shows exactly the map, and a
//     click on a check image reports nothing.
//
//   model-faults [--runs N] [--in-a-row K] [--map DOCUMENT] [--set NAME=VALUE]...
//
// With N, at most N calls of each action fail, spread evenly over its calls (the short run of
// the normal test run); without, every call does. DOCUMENT is the map (default: the sample map
// beside the program); each --set switches on a property of the control's second interface
// before the map is bound, and adds the actions that property changes: with ShowNestedGroups,
// drops into, out of and between nested groups (the map should have some: the sample
// nested-groups.json); with DropAtMark, drops before and after rows in and around a group; with
// MixedGroupChecks, clicks on a group that shows mixed and on one of its members.
// The program ends with one line per figure, `figure <name> value <v> goal <g>`, and exits with 1
// when a figure misses its goal.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include "com/bstr.h"
#include "com/error.h"
#include "common/registration.h"
#include "kelpy/reliability/suite.h"
#include "control_host.h"
#include "kelpy/common/debug_output.h"
#include "kelpy/common/map_builder.h"
#include "kelpy/reliability/map_census.h"
#include "map_document.h"
#include "property_setting.h"
#include "scripted_selector.h"
#include "user_actions.h"
#include "user_input.h"

namespace {

using namespace census;

constexpr HRESULT kInjected = HRESULT(0x80041F01);  // the status of the failing call

struct Action {
    const char* name;
    const wchar_t* text;  // a user action of the snapshot tool, or "reset"
};

const Action kActions[] = {
    {"click-layer", L"click-check Roads"},
    {"click-group", L"click-check 'Land use'"},
    {"drop-top-level", L"drag 'Aerial photo' Roads"},
    {"drop-out-of-group", L"drag 'Land use/Parks' Elevation"},
    {"drop-into-group", L"drag Towns 'Land use/Districts'"},
    {"pick-class-symbol", L"pick-symbol Towns #FF8800"},
    {"pick-simple-symbol", L"pick-symbol 'Survey sites' #3366CC"},
    {"rebuild", L"reset"},
};

// The actions a property of the second interface adds.
const Action kNestedActions[] = {
    {"drop-into-nested-group", L"drag Towns 'Harbour/Piers'"},
    {"drop-out-of-nested-group", L"drag Households Elevation"},
    {"drop-nested-group", L"drag Harbour 'Land use/Parks'"},
};
const Action kAtMarkActions[] = {
    {"drop-before-in-group", L"drag Towns 'Land use/Districts' above"},
    {"drop-within-group", L"drag Districts 'Land use/Parks' above"},
    {"drop-first-member", L"drag Roads 'Land use' below"},
    {"drop-after-top-level", L"drag Coastline Slope below"},
};
const Action kMixedActions[] = {
    {"click-mixed-group", L"click-check 'Land use'"},
    {"click-member-of-mixed-group", L"click-check 'Land use/Settlement'"},
};

struct Options {
    long most = 0;
    long in_a_row = 1;  // the calls that fail one after the other
    std::wstring map;
    std::vector<host::PropertySetting> settings;
};

// The action after each failing run, which must work.
const Action kNextAction{"next", L"click-check Coastline"};

struct Tally {
    long runs = 0, while_painting = 0, unreported = 0, unsound = 0, leftovers = 0, broken_after = 0;
};

class Bench {
public:
    explicit Bench(const Options& o)
        : hosted_(280, 720), info_(test::create<IModelInfo>(CLSID_ModelInfo)), map_path_(o.map), in_a_row_(o.in_a_row) {
        for (const host::PropertySetting& setting : o.settings) host::put_property(hosted_.toc().unknown(), setting);
        SetWindowSubclass(hosted_.tree(), &Bench::paint_spy, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    ~Bench() { RemoveWindowSubclass(hosted_.tree(), &Bench::paint_spy, 1); }

    // A fresh sample map in the control; its layers are what the map must hold from now on.
    void fresh_map() {
        com::check(info_->FailCall(0, 0));
        map_ = host::open_map(map_path_);
        hosted_.show(map_.get());
        layers_ = layers_of(map_.get());
        test::DebugOutput::take();
    }

    // Runs the action with call `fail` failing (0: none), and the calls after it that fail in a
    // row; answers the model calls it made and whether it reported a failure.
    std::pair<long, bool> run(const Action& a, long fail) {
        paints_.clear();
        com::check(info_->FailCalls(fail, fail ? in_a_row_ : 1, kInjected));
        bool reported = false;
        if (std::wstring(a.text) == L"reset") {
            reported = FAILED(hosted_.toc().Reset());
        } else {
            const std::unique_ptr<ReleaseWatch> watch(from_release(a) ? new ReleaseWatch(*this, fail) : nullptr);
            snapshot::perform(*snapshot::parse_action(a.text), hosted_.tree(), selector_);
        }
        LONG calls = 0;
        com::check(info_->get_Calls(&calls));
        com::Bstr which;
        com::check(info_->get_FailedCall(which.put()));
        failed_call_ = com::narrow(which.view());
        com::check(info_->FailCall(0, 0));
        const std::wstring output = test::DebugOutput::take();
        reported = reported || output.find(L"failed on purpose") != std::wstring::npos;
        return {calls, reported};
    }

    // What is wrong after a run ("" when nothing is), and whether the next actions work.
    std::string after(Tally& t) {
        if (std::string wrong = unsound(map_.get(), layers_); !wrong.empty()) {
            ++t.unsound;
            return wrong;
        }
        if (std::string left = dragging(hosted_.toc()) ? "a drag still runs" : drag_leftovers(hosted_.toc()); !left.empty()) {
            ++t.leftovers;
            return left;
        }
        std::string broken;
        if (FAILED(hosted_.toc().Reset())) broken = "the next Reset failed";
        else if (tree_outline(hosted_.toc()) != map_outline(map_.get(), hosted_.toc().options().showNestedGroups))
            broken = "the tree does not show the map after a Reset";
        else if (run(kNextAction, 0).second) broken = "a click on a check image failed after it";
        if (!broken.empty()) ++t.broken_after;
        return broken;
    }

    const kelpy::Options& options() const { return hosted_.toc().options(); }

    // Whether the action's calls are counted from its release: a drop's, with calls in a row
    // failing (its move and put-back come first after the release).
    bool from_release(const Action& a) const { return in_a_row_ > 1 && std::wstring(a.text).rfind(L"drag ", 0) == 0; }
    // The calls of an action counted from its release that are each tried before the spread.
    static constexpr long kDenseAfterRelease = 64;

    // The failing call of the last run, as the model names it ("" when it was not made).
    const std::string& failed_call() const { return failed_call_; }

    // Whether the failing model calls from n on of the last run were made while the tree
    // painted. A failure there is no failure of the action: painting has no caller to report
    // to, and a row whose swatch could not be painted shows without it until it is painted
    // again.
    bool while_painting(long n) const {
        for (const auto& [first, last] : paints_)
            if (n + in_a_row_ - 1 >= first && n <= last) return true;
        return false;
    }

private:
    // While it lives, the model's calls are counted anew (and fail from call `fail` on) from the
    // moment the left button's release for the tree is taken from the queue, before the
    // control's own hooks and procedures see it (a hook installed later is called first).
    class ReleaseWatch {
    public:
        ReleaseWatch(Bench& bench, long fail) : fail_(fail) {
            watching_ = &bench;
            bench.release_watch_ = this;
            hook_ = SetWindowsHookExW(WH_GETMESSAGE, &ReleaseWatch::hook, nullptr, GetCurrentThreadId());
        }
        ~ReleaseWatch() {
            if (hook_) UnhookWindowsHookEx(hook_);
            if (watching_) watching_->release_watch_ = nullptr;
            watching_ = nullptr;
        }
        ReleaseWatch(const ReleaseWatch&) = delete;
        ReleaseWatch& operator=(const ReleaseWatch&) = delete;

    private:
        static LRESULT CALLBACK hook(int code, WPARAM wp, LPARAM lp) {
            const MSG* msg = reinterpret_cast<const MSG*>(lp);
            if (code == HC_ACTION && watching_ && watching_->release_watch_ && msg->message == WM_LBUTTONUP &&
                msg->hwnd == watching_->hosted_.tree()) {
                Bench& b = *watching_;
                ReleaseWatch& self = *b.release_watch_;
                b.release_watch_ = nullptr;  // once
                b.paints_.clear();
                b.info_->FailCalls(self.fail_, self.fail_ ? b.in_a_row_ : 1, kInjected);
            }
            return CallNextHookEx(nullptr, code, wp, lp);
        }
        static inline Bench* watching_ = nullptr;
        HHOOK hook_ = nullptr;
        long fail_;
        friend class Bench;
    };
    ReleaseWatch* release_watch_ = nullptr;

    // Notes the model calls that each paint of the tree makes (its swatches, drawn by the
    // control's custom drawing).
    static LRESULT CALLBACK paint_spy(HWND window, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
        if (msg != WM_PAINT) return DefSubclassProc(window, msg, wp, lp);
        auto& b = *reinterpret_cast<Bench*>(self);
        LONG before = 0, after = 0;
        b.info_->get_Calls(&before);
        const LRESULT result = DefSubclassProc(window, msg, wp, lp);
        b.info_->get_Calls(&after);
        if (after > before) b.paints_.push_back({before + 1, after});
        return result;
    }

    suite::HostedToc hosted_;
    com::ComPtr<IModelInfo> info_;
    host::ScriptedSelector selector_;
    std::wstring map_path_;
    com::ComPtr<IMap> map_;
    Layers layers_;
    std::string failed_call_;
    std::vector<std::pair<long, long>> paints_;  // model calls made by each paint: first, last
    long in_a_row_;
};

int run(const Options& o) {
    test::DebugOutput output;
    Bench bench(o);
    Tally tally;
    const long most = o.most;
    const std::string failing = o.in_a_row > 1 ? std::to_string(o.in_a_row) + " model calls in a row" : "one model call";
    std::printf("map-model faults: each action with %s failing (%s)\n", failing.c_str(),
                most ? ("at most " + std::to_string(most) + " of its calls in turn").c_str() : "each of its calls in turn");
    std::vector<Action> actions(std::begin(kActions), std::end(kActions));
    const kelpy::Options& on = bench.options();
    if (on.showNestedGroups) actions.insert(actions.end(), std::begin(kNestedActions), std::end(kNestedActions));
    if (on.dropAtMark) actions.insert(actions.end(), std::begin(kAtMarkActions), std::end(kAtMarkActions));
    if (on.mixedGroupChecks) actions.insert(actions.end(), std::begin(kMixedActions), std::end(kMixedActions));
    for (const host::PropertySetting& setting : o.settings) std::printf("  with %s\n", com::narrow(setting.text).c_str());
    for (const Action& a : actions) {
        bench.fresh_map();
        const auto [calls, failed] = bench.run(a, 0);
        if (failed) {
            std::printf("  %s fails without a fault\n", a.name);
            ++tally.broken_after;
            continue;
        }
        long runs = 0;
        const long stride = most && calls > most ? (calls + most - 1) / most : 1;
        const long dense = bench.from_release(a) ? Bench::kDenseAfterRelease : 0;
        for (long n = 1; n <= calls; n += n < dense ? 1 : stride) {
            bench.fresh_map();
            const auto [made, reported] = bench.run(a, n);
            if (made < n) continue;  // the action made fewer calls this time: nothing failed
            ++runs;
            const bool painting = bench.while_painting(n);
            tally.while_painting += painting;
            std::string wrong = reported || painting ? "" : bench.failed_call() + ": the failure was not reported";
            if (!reported && !painting) ++tally.unreported;
            if (std::string more = bench.after(tally); !more.empty()) wrong += (wrong.empty() ? "" : "; ") + more;
            if (!wrong.empty()) std::printf("  %s, call %ld of %ld failing: %s\n", a.name, n, calls, wrong.c_str());
        }
        tally.runs += runs;
        std::printf("  %-20s %5ld model calls, %5ld runs with %s failing\n", a.name, calls, runs, failing.c_str());
        std::fflush(stdout);
    }
    std::printf("%ld runs, %ld of them with the failing call made while the tree painted\n", tally.runs,
                tally.while_painting);
    std::printf("figure faults-unreported value %ld goal 0\n", tally.unreported);
    std::printf("figure faults-layers-lost-or-duplicated value %ld goal 0\n", tally.unsound);
    std::printf("figure faults-drag-leftovers value %ld goal 0\n", tally.leftovers);
    std::printf("figure faults-next-action-broken value %ld goal 0\n", tally.broken_after);
    return tally.unreported + tally.unsound + tally.leftovers + tally.broken_after ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    bool usage = false;
    for (int i = 1; i < argc && !usage; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) usage = true;
        else if (arg == "--runs") usage = (o.most = std::strtol(argv[++i], nullptr, 10)) <= 0;
        else if (arg == "--in-a-row") usage = (o.in_a_row = std::strtol(argv[++i], nullptr, 10)) <= 0;
        else if (arg == "--map") o.map = com::widen(argv[++i]);
        else if (arg == "--set") {
            auto setting = host::parse_setting(com::widen(argv[++i]));
            if (setting) o.settings.push_back(*setting);
            else usage = true;
        } else usage = true;
    }
    if (usage) {
        std::fprintf(stderr, "usage: model-faults [--runs N] [--in-a-row K] [--map DOCUMENT] [--set NAME=VALUE]...\n");
        return 2;
    }
    return suite::main("model-faults", [&] {
        if (o.map.empty()) o.map = test::program_dir() + L"\\samples\\sample-map.json";
        return run(o);
    });
}
