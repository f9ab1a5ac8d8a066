// TreeHost: a bare TreeView in a parent window that hands the tree's notifications on, with an
// image list of three keys ("a", "b", "c"); it records the tree's events as text.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "kelpy/platform/image_list.h"
#include "kelpy/platform/tree_view.h"

namespace test {

class TreeHost final : public kelpy::platform::TreeViewEvents {
public:
    TreeHost();
    ~TreeHost();
    TreeHost(const TreeHost&) = delete;
    TreeHost& operator=(const TreeHost&) = delete;

    kelpy::platform::NodeCollection& nodes() { return tree.Nodes(); }
    HWND window() const { return tree.hWnd(); }

    HWND parent = nullptr;
    kelpy::platform::ImageList images{16, 16, RGB(255, 0, 255)};
    kelpy::platform::TreeView tree;
    std::vector<std::string> events;  // "down 1 0 10 20", "key 32", "expand A", ...
    bool take_releases = false;        // MouseUp keeps the releases from the native tree
    WPARAM taken_key = 0;              // KeyDown keeps this key from the native tree

private:
    void MouseDown(int16_t button, kelpy::platform::ShiftMask shift, POINT at) override;
    void MouseMove(int16_t button, kelpy::platform::ShiftMask shift, POINT at) override;
    void MouseUp(int16_t button, kelpy::platform::ShiftMask shift, POINT at, bool& handled) override;
    void KeyDown(WPARAM key, LPARAM data, bool system, bool& handled) override;
    void CaptureChanged(HWND to) override;
    void Expand(const kelpy::platform::NodePtr& node) override;
    void Collapse(const kelpy::platform::NodePtr& node) override;
    void mouse(const char* what, int16_t button, int16_t shift, POINT at);
};

// A 16 x 16 picture in one colour, with a magenta (transparent) square in its upper left corner.
win::Bitmap solid_picture(COLORREF colour);

}  // namespace test
