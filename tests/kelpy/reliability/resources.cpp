// resources: whether the control gives back what it takes. The control, hosted by our own
// container and bound to the sample map, rebuilds its tree N times and then runs N drags (a
// person's, through the input queue: layers swapped at the top level, a layer taken out of a
// group and put back in), which leave the map as it was. Before and after (each after one
// warm-up round, which fills the caches that are meant to stay):
//   - the live COM objects of the control's library and of the map model;
//   - the process's GDI and USER objects (GetGuiResources, where the platform counts them) and
//     the windows of the thread;
//   - the process's private bytes;
// and the growth, per 1,000 operations, is printed as figures.
//
//   resources [--operations N]   (default 1,000 rebuilds and 1,000 drags)
//
// The program ends with one line per figure, `figure <name> value <v> goal <g>`, and exits with 1
// when a figure misses its goal.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include "com/error.h"
#include "com/bstr.h"
#include "com/module.h"
#include "common/fuzz.h"
#include "common/registration.h"
#include "kelpy/reliability/suite.h"
#include "control_host.h"
#include "kelpy/common/map_builder.h"
#include "kelpy/reliability/map_census.h"
#include "map_document.h"
#include "scripted_selector.h"
#include "user_actions.h"
#include "user_input.h"

namespace {

// Private bytes may move by what the heap keeps for reuse: up to this much per 1,000 operations
// is no leak.
constexpr double kPrivateKiBGoal = 1024;

struct Counts {
    long control_objects = 0, model_objects = 0;
    DWORD gdi = 0, user = 0;
    long windows = 0;
    double private_kib = 0;
};

// Four drags that leave the map as it was (after the first four: the layer taken out of the group
// goes back in at the group's end).
const wchar_t* const kDrags[] = {
    L"drag 'Aerial photo' Roads",
    L"drag Roads 'Aerial photo'",
    L"drag 'Land use/Parks' Elevation",
    L"drag Parks 'Land use/Districts'",
};

class Bench {
public:
    Bench() : hosted_(280, 720), map_(host::open_map(test::program_dir() + L"\\samples\\sample-map.json")) {
        hosted_.show(map_.get());
        layers_ = census::layers_of(map_.get());
    }

    // The map as it is now is the map that every four drags must leave.
    void settle() { outline_ = census::map_outline(map_.get()); }

    void rebuilds(long n) {
        for (long i = 0; i < n; ++i) {
            com::check(hosted_.toc().Reset());
            if (i % 10 == 9) host::pump_messages();  // the tree paints now and then
        }
        host::pump_messages();
    }

    // Drags, four at a time; the map must be as it was after every four.
    std::string drags(long n) {
        for (long i = 0; i < n; ++i) {
            snapshot::perform(*snapshot::parse_action(kDrags[i % 4]), hosted_.tree(), selector_);
            if (std::string wrong = census::unsound(map_.get(), layers_); !wrong.empty()) return wrong;
            if (i % 4 == 3 && !outline_.empty() && census::map_outline(map_.get()) != outline_)
                return "the drags left the map as " + com::narrow(census::map_outline(map_.get()));
        }
        return "";
    }

    Counts counts() const {
        Counts c;
        c.control_objects = com::Module::live_objects();
        c.model_objects = test::live_map_objects();
        c.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        c.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
        c.private_kib = double(fuzz::private_bytes()) / 1024.0;
        EnumThreadWindows(GetCurrentThreadId(), &Bench::count_window, reinterpret_cast<LPARAM>(&c.windows));
        return c;
    }

private:
    // Counts a window of this thread and its descendants.
    static BOOL CALLBACK count_window(HWND window, LPARAM count) {
        ++*reinterpret_cast<long*>(count);
        EnumChildWindows(window, &Bench::count_child, count);
        return TRUE;
    }
    static BOOL CALLBACK count_child(HWND, LPARAM count) {
        ++*reinterpret_cast<long*>(count);
        return TRUE;
    }

    suite::HostedToc hosted_;
    host::ScriptedSelector selector_;
    com::ComPtr<IMap> map_;
    std::wstring outline_;
    census::Layers layers_;
};

int run(long operations) {
    Bench bench;
    bench.rebuilds(1);
    if (std::string wrong = bench.drags(4); !wrong.empty()) com::raise(E_FAIL, com::widen(wrong));
    bench.settle();
    const Counts before = bench.counts();
    const DWORD started = GetTickCount();
    bench.rebuilds(operations);
    const std::string wrong = bench.drags(operations - operations % 4);
    const Counts after = bench.counts();
    const double per_1000 = 1000.0 / double(2 * operations);

    std::printf("resources: %ld rebuilds and %ld drags of the sample map in %.1f s\n", operations,
                operations - operations % 4, (GetTickCount() - started) / 1000.0);
    std::printf("%-28s %12s %12s\n", "", "before", "after");
    std::printf("%-28s %12ld %12ld\n", "control objects", before.control_objects, after.control_objects);
    std::printf("%-28s %12ld %12ld\n", "map model objects", before.model_objects, after.model_objects);
    std::printf("%-28s %12lu %12lu\n", "GDI objects", before.gdi, after.gdi);
    std::printf("%-28s %12lu %12lu\n", "USER objects", before.user, after.user);
    std::printf("%-28s %12ld %12ld\n", "windows of the thread", before.windows, after.windows);
    std::printf("%-28s %12.0f %12.0f\n", "private KiB", before.private_kib, after.private_kib);
    const bool counted = before.gdi || after.gdi;
    if (!counted)
        std::printf("(GetGuiResources answers 0 here: this platform does not count GDI and USER objects,\n"
                    " so their figures are left out; the windows are counted one by one)\n");
    if (!wrong.empty()) std::printf("FAULT: %s\n", wrong.c_str());

    const long control = after.control_objects - before.control_objects;
    const long model = after.model_objects - before.model_objects;
    const long gdi = long(after.gdi) - long(before.gdi), user = long(after.user) - long(before.user);
    const double kib = (after.private_kib - before.private_kib) * per_1000;
    std::printf("figure resources-control-objects-growth value %ld goal 0\n", control);
    std::printf("figure resources-model-objects-growth value %ld goal 0\n", model);
    const long windows = after.windows - before.windows;
    if (counted) {
        std::printf("figure resources-gdi-objects-growth value %ld goal 0\n", gdi);
        std::printf("figure resources-user-objects-growth value %ld goal 0\n", user);
    }
    std::printf("figure resources-windows-growth value %ld goal 0\n", windows);
    std::printf("figure resources-private-kib-per-1000 value %.0f goal %.0f\n", kib, kPrivateKiBGoal);
    std::printf("figure resources-drag-faults value %d goal 0\n", wrong.empty() ? 0 : 1);
    return control || model || gdi > 0 || user > 0 || windows > 0 || kib > kPrivateKiBGoal || !wrong.empty() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    long operations = 1000;
    if (argc == 3 && std::string(argv[1]) == "--operations") operations = std::strtol(argv[2], nullptr, 10);
    if ((argc != 1 && argc != 3) || operations < 4) {
        std::fprintf(stderr, "usage: resources [--operations N]   (N at least 4)\n");
        return 2;
    }
    return suite::main("resources", [&] { return run(operations); });
}
