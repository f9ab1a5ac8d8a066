// message-fuzz: the control under a storm of random input. The control, hosted by our own
// container in a topmost window and bound to the sample map, receives random steps: mouse moves
// anywhere on the screen, presses and releases of the buttons (the left one may stay held over
// several steps, so drags start, run and end), the wheel, keys (with Shift, Ctrl or Alt),
// scrolling, expanding and collapsing, resizes, focus changes, changes of the map through the
// map model (layers added, deleted, moved, shown and hidden, class symbols replaced), rebuilds;
// the host's event handlers cancel at random and the symbol selector confirms or cancels at
// random. After every step:
//   - every layer of the map sits in exactly one place (the map's top level or one group layer),
//     and no layer came or went but those the steps added or deleted;
//   - when no drag runs: no capture, no timer and the default pointer;
// and every 100 steps (and at the end), after a Reset, the tree shows exactly the map.
//
//   message-fuzz [--steps N] [--seed S] [--trace-from K] [--map DOCUMENT] [--set NAME=VALUE]...
//
// N steps (default 100,000) from seed S (default: a new one, printed); from step K on, each step
// says what it is before it runs. A failure prints the seed
// and the step that failed, to replay it; a crash or a hang too. The program ends with one line
// per figure, `figure <name> value <v> goal <g>`, and exits with 1 when a figure misses its goal.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <cinttypes>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "com/bstr.h"
#include "com/error.h"
#include "common/fuzz.h"
#include "common/registration.h"
#include "kelpy/reliability/suite.h"
#include "control_host.h"
#include "kelpy/common/event_sink.h"
#include "kelpy/common/legend_builder.h"
#include "kelpy/common/map_builder.h"
#include "kelpy/reliability/map_census.h"
#include "tree_reader.h"
#include "map_document.h"
#include "property_setting.h"
#include "scripted_selector.h"
#include "user_input.h"

namespace {

using namespace census;
using host::Button;

constexpr double kHangMs = 20000;  // no step takes anywhere near this long
constexpr long kTreeCheckEvery = 100;

struct Options {
    long steps = 100000;
    uint64_t seed = 0;
    bool seeded = false;
    long trace_from = -1;  // the steps from this one say what they are
    std::wstring map;      // the map document (default: the sample map beside the program)
    std::vector<host::PropertySetting> settings;  // properties of _TOC2, set before binding
};

std::string settings_text;  // the --map and --set arguments of the run, for its replay line

std::string replay(uint64_t seed, long step) {
    char line[96];
    std::snprintf(line, sizeof line, "message-fuzz --seed 0x%016" PRIX64 " --steps %ld", seed, step + 1);
    return line + settings_text;
}

class Fuzz {
public:
    Fuzz(const Options& o, IMap* map) : o_(o), r_(o.seed), map_(map), hosted_(280, 520), toc_(&hosted_.toc()) {
        sink_ = test::RecordingSink::make();
        sink_->decide = [this](DISPID) { return r_.chance(15); };
        connection_ = std::make_unique<test::EventConnection>(toc_->unknown(), sink_.get());
        for (const host::PropertySetting& setting : o.settings) host::put_property(toc_->unknown(), setting);
        hosted_.show(map_.get());
        expected_ = layers_of(map_.get());
    }

    ~Fuzz() {
        host::release(Button::Left);
        connection_.reset();
    }

    // One random step; with `trace`, what it is goes to the output first.
    void step(bool trace) {
        const size_t kind = r_.below(100);
        if (trace) {
            POINT cursor{};
            GetCursorPos(&cursor);
            wchar_t cls[64] = L"";
            GetClassNameW(WindowFromPoint(cursor), cls, 64);
            std::printf("  kind %zu at %ld,%ld over %s, left %s, capture %p, dragging %d\n", kind, cursor.x, cursor.y,
                        com::narrow(cls).c_str(), left_down_ ? "down" : "up", (void*)GetCapture(),
                        int(dragging(*toc_)));
            std::fflush(stdout);
        }
        if (kind < 30) move_somewhere();
        else if (kind < 40) left_button();
        else if (kind < 45) right_button();
        else if (kind < 47) middle_click();
        else if (kind < 49) host::turn_wheel(r_.chance(50) ? 1 : -1);
        else if (kind < 62) key();
        else if (kind < 66) scroll();
        else if (kind < 69) expand_or_collapse();
        else if (kind < 71) resize();
        else if (kind < 74) focus();
        else if (kind < 90) change_map();
        else if (kind < 93) com::check(toc_->Reset());
        else host::pump_messages(DWORD(r_.below(60)));  // timers (the drag's scrolling) tick
        selector_.answer({.confirm = r_.chance(60), .color = COLORREF(r_.next() & 0xFFFFFF)});
    }

    // What is wrong after a step ("" when nothing is).
    std::string check(bool rebuild) {
        if (std::string wrong = unsound(map_.get(), expected_); !wrong.empty()) return wrong;
        if (!dragging(*toc_)) {
            if (std::string left = drag_leftovers(*toc_); !left.empty()) return left;
            if (rebuild) {
                com::check(toc_->Reset());
                const std::wstring tree = tree_outline(*toc_), map = map_outline(map_.get(), toc_->options().showNestedGroups);
                if (tree != map) return "the tree shows " + com::narrow(tree) + " for the map " + com::narrow(map);
            }
        }
        return "";
    }

private:
    HWND tree() const { return hosted_.tree(); }

    // A point of the tree's client area (its scroll bars excluded), on the screen.
    POINT in_tree() {
        RECT r{};
        GetClientRect(tree(), &r);
        POINT p{LONG(r_.below(size_t(std::max<LONG>(r.right, 1)))), LONG(r_.below(size_t(std::max<LONG>(r.bottom, 1))))};
        ClientToScreen(tree(), &p);
        return p;
    }

    void move_somewhere() {
        if (r_.chance(75)) {
            host::move_mouse(in_tree());
        } else {
            host::move_mouse({LONG(r_.below(size_t(GetSystemMetrics(SM_CXSCREEN)))),
                              LONG(r_.below(size_t(GetSystemMetrics(SM_CYSCREEN))))});
        }
    }

    // The left button goes down or up; it may stay down over many steps (a drag). A press on the
    // frame of a window of this thread (the host's caption or border, the tree's scroll bar)
    // would start the system's modal move, size or scroll loop, which waits for input that only
    // this thread gives: such presses happen in the tree's client area instead.
    void left_button() {
        if (!left_down_) {
            POINT cursor{};
            GetCursorPos(&cursor);
            HWND under = WindowFromPoint(cursor);
            if (under && GetWindowThreadProcessId(under, nullptr) == GetCurrentThreadId() &&
                SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(cursor.x, cursor.y)) != HTCLIENT)
                host::move_mouse(in_tree());
        }
        if (left_down_) host::release(Button::Left);
        else host::press(Button::Left);
        left_down_ = !left_down_;
        if (left_down_) move_somewhere();  // the press is handled with the move that follows
    }

    // The tree waits for what follows a right press inside its handling of it: the press never
    // goes alone, but with its release (a click) or with a move away within the tree, where the
    // tree's wait sees it (input queued for another window while the press waits in the queue
    // would reach that window's thread instead).
    void right_button() {
        const POINT at = in_tree();
        if (r_.chance(70)) {
            host::click(at, Button::Right);
            return;
        }
        POINT away = in_tree();
        for (int i = 0; i < 10 && std::abs(away.x - at.x) <= 8 && std::abs(away.y - at.y) <= 8; ++i) away = in_tree();
        if (std::abs(away.x - at.x) <= 8 && std::abs(away.y - at.y) <= 8) return;
        host::move_mouse(at);
        host::press(Button::Right);
        host::move_mouse(away);
        host::release(Button::Right);
    }

    void middle_click() { host::click(in_tree(), Button::Middle); }

    void key() {
        static const WORD keys[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_SPACE, VK_RETURN, VK_HOME, VK_END,
                                    VK_PRIOR, VK_NEXT, VK_APPS, VK_F10, VK_ESCAPE, VK_ADD, VK_SUBTRACT, 'R'};
        const WORD key = r_.pick(keys);
        const bool arrow = key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT;
        // Alt goes with the arrows only, Escape alone, and F10 with Shift to the tree only: Alt
        // alone, F10 alone, Shift+Escape and (in Wine) Shift+F10 in the host window open the host
        // window's menu, whose loop waits for input that only this thread could give.
        if (arrow && r_.chance(40) && alt_is_the_controls()) host::press_key(key, {VK_MENU});
        else if (key == VK_F10) {
            if (GetFocus() == tree()) host::press_key(key, {VK_SHIFT});
        }
        else if (key == VK_ESCAPE) host::press_key(key);
        else if (r_.chance(20)) host::press_key(key, {VK_SHIFT});
        else if (r_.chance(10)) host::press_key(key, {VK_CONTROL});
        else host::press_key(key);
    }

    // Whether Alt with an arrow would reach the control's keys: the tree has the focus, no drag
    // runs and a layer or group item is selected. Elsewhere the tree view takes the key itself
    // (Wine's) without telling the system, and Alt's release then opens the host's menu, whose
    // loop waits for input that only this thread could give.
    bool alt_is_the_controls() {
        if (GetFocus() != tree()) return true;  // the host window's own keys
        if (dragging(*toc_)) return false;
        const HTREEITEM caret = host::selected_item(tree());
        return caret && host::stands_for_layer(host::read_item(tree(), caret));
    }

    void scroll() {
        static const WPARAM codes[] = {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_TOP, SB_BOTTOM};
        SendMessageW(tree(), r_.chance(80) ? WM_VSCROLL : WM_HSCROLL, r_.pick(codes), 0);
    }

    void expand_or_collapse() {
        auto items = host::read_items(tree());
        if (items.empty()) return;
        const auto& item = items[r_.below(items.size())];
        SendMessageW(tree(), TVM_EXPAND, r_.chance(50) ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(item.handle));
    }

    void resize() { hosted_.host().resize(int(120 + r_.below(300)), int(100 + r_.below(500))); }

    void focus() {
        switch (r_.below(3)) {
        case 0: SetFocus(tree()); break;
        case 1: SetFocus(hosted_.host().window()); break;
        default: SetFocus(nullptr); break;
        }
    }

    // A change through the map model, as another part of the host would make it.
    void change_map() {
        std::vector<Placed> all = every_layer(map_.get());
        const size_t what = r_.below(100);
        if (what < 15 || all.empty()) {
            auto layer = test::make_layer(r_.chance(50) ? test::LayerKind::Plain : test::LayerKind::Feature,
                                          L"Fuzz " + std::to_wstring(++added_), r_.chance(50));
            com::check(map_->AddLayer(layer.get()));
            expected_[identity(layer.get()).get()] = layer;
            return;
        }
        const Placed& p = all[r_.below(all.size())];
        if (what < 25) {
            // Deleted, with whatever it holds.
            std::vector<Placed> gone{p};
            members(p.layer.get(), gone);
            if (p.group) com::check(p.group.as<IGroupLayer>()->Delete(p.layer.get()));
            else com::check(map_->DeleteLayer(p.layer.get()));
            for (const Placed& g : gone) expected_.erase(identity(g.layer.get()).get());
        } else if (what < 50) {
            LONG n = 0;
            com::check(map_->get_LayerCount(&n));
            if (n == 0) return;
            com::ComPtr<ILayer> top;
            com::check(map_->get_Layer(LONG(r_.below(size_t(n))), top.put()));
            com::check(map_->MoveLayer(top.get(), LONG(r_.below(size_t(n)))));
        } else if (what < 75) {
            VARIANT_BOOL visible = VARIANT_FALSE;
            com::check(p.layer->get_Visible(&visible));
            com::check(p.layer->put_Visible(visible ? VARIANT_FALSE : VARIANT_TRUE));
        } else {
            replace_a_symbol(p.layer);
        }
    }

    void replace_a_symbol(const com::ComPtr<ILayer>& layer) {
        auto rendering = layer.query<IFeatureRendering>();
        if (!rendering) return;
        com::ComPtr<IFeatureRenderer> renderer;
        com::check(rendering->get_Renderer(renderer.put()));
        if (!renderer) return;
        auto symbol = test::solid_fill(COLORREF(r_.next() & 0xFFFFFF));
        if (auto simple = renderer.query<ISimpleRenderer>()) {
            com::check(simple->putref_Symbol(symbol.get()));
        } else if (auto breaks = renderer.query<IClassBreaksRenderer>()) {
            LONG n = 0;
            com::check(breaks->get_BreakCount(&n));
            if (n > 0) com::check(breaks->putref_Symbol(LONG(r_.below(size_t(n))), symbol.get()));
        }
    }

    const Options& o_;
    fuzz::Random r_;
    com::ComPtr<IMap> map_;
    suite::HostedToc hosted_;
    kelpy::Toc* toc_;
    com::ComPtr<test::RecordingSink> sink_;
    std::unique_ptr<test::EventConnection> connection_;
    host::ScriptedSelector selector_;
    Layers expected_;  // every layer the map should hold
    bool left_down_ = false;
    long added_ = 0;
};

bool parse(int argc, char** argv, Options& o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        char* end = nullptr;
        if (a == "--steps") o.steps = std::strtol(argv[i + 1], &end, 10);
        else if (a == "--seed") o.seed = std::strtoull(argv[i + 1], &end, 0), o.seeded = true;
        else if (a == "--trace-from") o.trace_from = std::strtol(argv[i + 1], &end, 10);
        else if (a == "--map") o.map = com::widen(argv[i + 1]);
        else if (a == "--set") {
            auto setting = host::parse_setting(com::widen(argv[i + 1]));
            if (!setting) return false;
            o.settings.push_back(*setting);
        } else return false;
        if (a == "--map" || a == "--set") settings_text += " " + a + " " + argv[i + 1];
        else if (*end) return false;
    }
    return argc % 2 == 1 && o.steps > 0;
}

int run(const Options& o) {
    fuzz::Guard guard("fuzz", kHangMs, [&](long step) { return replay(o.seed, step); });
    auto map = host::open_map(o.map.empty() ? test::program_dir() + L"\\samples\\sample-map.json" : o.map);
    Fuzz fuzz(o, map.get());
    std::printf("message fuzz: %ld steps, seed 0x%016" PRIX64 "%s\n", o.steps, o.seed, settings_text.c_str());
    std::fflush(stdout);
    std::string fault;
    long step = 0;
    for (; step < o.steps && fault.empty(); ++step) {
        guard.begin(step);
        try {
            fuzz.step(o.trace_from >= 0 && step >= o.trace_from);
            fault = fuzz.check((step + 1) % kTreeCheckEvery == 0 || step + 1 == o.steps);
        } catch (const com::ComError& e) {
            // The steps ask the map model for nothing it may refuse, and the control's Reset
            // must work: a failure here is a fault.
            fault = std::string("a step failed: ") + e.what();
        }
        guard.end();
        if ((step + 1) % 10000 == 0 && step + 1 < o.steps) {
            std::printf("  %ld steps\n", step + 1);
            std::fflush(stdout);
        }
    }
    const bool lost = fault.find("lost") != std::string::npos || fault.find("nowhere") != std::string::npos;
    const bool duplicated = fault.find("two places") != std::string::npos;
    const bool leftovers = fault.find("no drag") != std::string::npos;
    const bool mismatch = fault.find("the tree shows") != std::string::npos;
    const bool failed = fault.find("a step failed") != std::string::npos;
    if (!fault.empty())
        std::printf("FAULT in step %ld: %s\n  replay: %s\n", step - 1, fault.c_str(), replay(o.seed, step - 1).c_str());
    else
        std::printf("%ld steps, every check held\n", step);
    std::printf("figure fuzz-crashes value 0 goal 0\n");
    std::printf("figure fuzz-hangs value 0 goal 0\n");
    std::printf("figure fuzz-layers-lost value %d goal 0\n", lost ? 1 : 0);
    std::printf("figure fuzz-layers-duplicated value %d goal 0\n", duplicated ? 1 : 0);
    std::printf("figure fuzz-drag-leftovers value %d goal 0\n", leftovers ? 1 : 0);
    std::printf("figure fuzz-tree-mismatches value %d goal 0\n", mismatch ? 1 : 0);
    std::printf("figure fuzz-failed-steps value %d goal 0\n", failed ? 1 : 0);
    return fault.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr, "usage: message-fuzz [--steps N] [--seed S] [--trace-from K] [--map DOCUMENT] [--set NAME=VALUE]...\n");
        return 2;
    }
    if (!o.seeded) o.seed = fuzz::fresh_seed();
    return suite::main("message-fuzz", [&] { return run(o); });
}
