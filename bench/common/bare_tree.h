// The yardstick of the benchmark: a bare comctl32 tree view, with no custom draw and no records,
// holding the same items as the control's tree (texts, nesting, integral heights, expanded).
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>

namespace bench {

// The size of every benchmark's tree window.
constexpr int tree_width = 300;
constexpr int tree_height = 600;

// One item of a tree, in the order of adding: its text, its parent (an index into the list, -1
// for the top level), its height in standard rows and whether it is expanded.
struct TreeItem {
    std::wstring text;
    int parent = -1;
    int rows = 1;
    bool expanded = false;
};

// The items of a native tree window, read in the order of adding (parents before children).
std::vector<TreeItem> read_items(HWND tree);
// Removes every item of a tree window, then adds these with one insert message each, laid out
// once at the end.
void fill_tree(HWND tree, const std::vector<TreeItem>& items);

// A top-level window of the given client size, holding a child window; destroyed at the end.
class Frame {
public:
    Frame(int width, int height);
    ~Frame();
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;
    HWND hWnd() const { return window_; }

private:
    HWND window_;
};

class BareTree {
public:
    // A tree view filling a new frame, with the control's tree styles.
    BareTree(int width, int height);
    HWND hWnd() const { return tree_; }
    // Removes every item, then adds these, laid out once at the end.
    void Fill(const std::vector<TreeItem>& items);

private:
    Frame frame_;
    HWND tree_;
};

// Seconds of one full repaint of a window (invalidated, erased and painted at once).
double repaint_seconds(HWND window);

// Scrolls a tree window to its end.
void scroll_to_end(HWND tree);

}  // namespace bench
