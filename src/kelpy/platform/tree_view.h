// TreeView: the control's tree (tvwTOC) over the native comctl32 tree view: its window, its
// items (Nodes), its image list addressed by keys, its place and visibility, and its events.
//
// Events. The tree watches its own window: it replaces the window's procedure and keeps itself
// in the window's GWLP_USERDATA (the comctl32 subclass helpers would cost Wine a window-property
// lookup in its server for every message). Every mouse press, move and release raises
// MouseDown, MouseMove or MouseUp with the button mask (1 left, 2 right, 4 middle; a press
// reports the button pressed with the buttons held already, a move the buttons held), the shift mask (1 Shift, 2 Ctrl, 4 Alt) and the position in twips,
// before the native tree sees the message. While the screen's mouse pointer is custom
// (mouse_pointer.h), the tree shows it instead of its own. Expand and Collapse come from the native tree's
// TVN_ITEMEXPANDED notifications, which go to the tree's parent window: the parent hands its
// WM_NOTIFY messages to on_notify. So do the label edits and tips of a tree with TVS_EDITLABELS or
// TVS_INFOTIP: BeforeLabelEdit lets an edit start (or not), AfterLabelEdit reports a text that a
// person confirmed with Enter (label_edit.h), TipText gives the tip of an item under the mouse
// (shown by the native tree, or by tree_tips.h where the native tree shows none). The parent
// window is a Unicode window, so the tree sends these notifications in their Unicode form.
//
// While the native tree handles a button press it may run a mouse-tracking loop of its own (to
// detect the start of a drag), which takes the following mouse messages off the queue without
// dispatching them, so the release would reach neither the window's procedures nor MouseUp.
// Such messages are put back on the queue, in their order, when the press has been handled (see
// swallowed_mouse_input.h). The control's tree disables the native drag on the left button.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include "kelpy/platform/image_list.h"
#include "kelpy/platform/label_edit.h"
#include "kelpy/platform/node_collection.h"
#include "kelpy/platform/tree_tips.h"

namespace kelpy::platform {

// The shift mask of a mouse event (1 Shift, 2 Ctrl, 4 Alt). Shift and Ctrl come with the message;
// Alt's state is asked of the system only when the mask is read, since a handler that ignores
// the mask (as the moves of a drag do) should not pay for a question that may cross into the
// window server.
class ShiftMask {
public:
    explicit ShiftMask(WPARAM keys) noexcept : keys_(keys) {}
    operator int16_t() const noexcept;

private:
    WPARAM keys_;
};

class TreeViewEvents {
public:
    virtual void MouseDown(int16_t button, ShiftMask shift, float x, float y) = 0;
    virtual void MouseMove(int16_t button, ShiftMask shift, float x, float y) = 0;
    virtual void MouseUp(int16_t button, ShiftMask shift, float x, float y) = 0;
    virtual void Expand(const NodePtr& node) = 0;
    virtual void Collapse(const NodePtr& node) = 0;
    // Before an item's label becomes editable in place: it stays closed unless the listener
    // clears `cancel`.
    virtual void BeforeLabelEdit(const NodePtr&, bool& cancel) { cancel = true; }
    // A person confirmed a new text for the item's label (Enter). The tree leaves the item's text
    // as it was: the listener gives it the text it is to show.
    virtual void AfterLabelEdit(const NodePtr&, std::wstring_view) {}
    // The tip of the item under the mouse; empty for none.
    virtual std::wstring TipText(const NodePtr&) { return {}; }

protected:
    ~TreeViewEvents() = default;
};

// Whoever shows the tree to others (the accessible view of it that screen readers read) hears of
// its changes: the selection that the native tree reports, an item's image set or its expanded
// state changed by the user, and every item gone at once (a rebuild begins). It must not fail.
class TreeViewWatcher {
public:
    virtual void SelectionChanged(HTREEITEM item) noexcept = 0;  // the new selected item, or null
    virtual void ItemChanged(const Node& node) noexcept = 0;
    virtual void ItemsCleared() noexcept = 0;

protected:
    ~TreeViewWatcher() = default;
};

class TreeView {
public:
    TreeView();
    ~TreeView();
    TreeView(const TreeView&) = delete;
    TreeView& operator=(const TreeView&) = delete;

    // The window styles of the control's tree: lines and buttons, no native drag (the control
    // drags layers itself), no label editing. The window starts hidden.
    static constexpr DWORD default_style =
        WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | TVS_HASLINES | TVS_HASBUTTONS | TVS_DISABLEDRAGDROP;

    // Creates the native tree window as a child of `parent`. The items live as long as the
    // window; when it is destroyed they are detached and the tree has no window again.
    void Create(HWND parent, int id, const RECT& bounds, DWORD style = default_style);
    // The window, or 0 when there is none.
    HWND hWnd() const noexcept { return hwnd_; }
    // The window; the error "the tree has no window" when there is none.
    HWND window() const;

    NodeCollection& Nodes() noexcept { return *nodes_; }
    const NodeCollection& Nodes() const noexcept { return *nodes_; }

    // Attaches the image list whose keys the items name (not owned; null detaches it).
    void SetImageList(ImageList* list);
    ImageList* image_list() const noexcept { return images_; }
    // The native position of an image key (I_IMAGENONE for ""), and the key of a position ("" for
    // none).
    int image_index(std::wstring_view key) const;
    std::wstring image_key(int index) const;

    void SetEvents(TreeViewEvents* listener) noexcept { events_ = listener; }
    void SetWatcher(TreeViewWatcher* watcher) noexcept { watcher_ = watcher; }
    TreeViewWatcher* watcher() const noexcept { return watcher_; }

    // Repaints the tree now.
    void Refresh();
    // Has the whole tree's items repainted at its next paint, and its frame (the border and the
    // scroll bars) now, as a tree paints its scroll bars when it sets them: a scroll that
    // follows paints them again, and the first paint of the items would otherwise paint the
    // frame once more. With `frame` false the frame is known to show what it should, and a
    // paint of the frame that is pending is dropped (some systems queue one for any change of
    // the window's style, even one that leaves the frame as it was); call PaintPendingFrame
    // first where a paint of the frame may be pending for another reason.
    void Invalidate(bool frame = true);
    // Paints now what of the frame (and the background) waits for a paint, if anything does.
    void PaintPendingFrame();

    // What the tree's frame shows: whether the window is shown, and each scroll bar with its
    // range, page and position. Two equal looks draw the same frame.
    struct FrameLook {
        bool shown = false;
        struct Bar {
            bool shown = false;
            int min = 0, max = 0, pos = 0;
            UINT page = 0;
            friend bool operator==(const Bar&, const Bar&) = default;
        } vertical, horizontal;
        friend bool operator==(const FrameLook&, const FrameLook&) = default;
    };
    FrameLook frame_look() const;
    bool Visible() const;
    void Visible(bool visible);
    // Place and size in pixels, in the parent's client coordinates.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void Move(int left, int top, int width, int height);

    // The selected item's native handle, or null. The tree keeps track of the selection from its
    // own selecting and the native tree's TVN_SELCHANGED notifications, because asking the
    // native tree costs a search of all its items whenever no item is selected.
    HTREEITEM caret() const;
    // Makes an item the selected one.
    void select(HTREEITEM item);
    // Leaves no item selected (no message when none is).
    void select_none();

    // Starts editing the item's label in place; false when the tree or its listener refused.
    bool StartLabelEdit(const NodePtr& node);

    // For the parent window: a WM_NOTIFY message. Answers true when the tree consumed it and
    // `result` is the answer (label edits and tips); the expansion and selection notifications
    // are seen and passed on. The parent must hand on every notification of the tree.
    bool on_notify(const NMHDR& header, LRESULT& result);

    // Defers the native tree's layout while many items change (the native tree otherwise lays
    // out all its items again for every item added); the layout is made once at the end.
    class LayoutBatch {
    public:
        explicit LayoutBatch(TreeView& tree);
        ~LayoutBatch() { end(); }
        LayoutBatch(const LayoutBatch&) = delete;
        LayoutBatch& operator=(const LayoutBatch&) = delete;
        void end() noexcept;

    private:
        HWND window_;
    };

private:
    friend class NodeCollection;
    static LRESULT CALLBACK window_proc(HWND, UINT, WPARAM, LPARAM);
    LRESULT on_message(HWND, UINT, WPARAM, LPARAM);
    LRESULT pass_on(HWND, UINT, WPARAM, LPARAM);
    void raise_mouse(void (TreeViewEvents::*event)(int16_t, ShiftMask, float, float), int16_t button,
                     WPARAM wp, LPARAM lp);
    void on_destroyed() noexcept;
    RECT bounds() const;
    bool on_label_notify(const NMHDR& header, LRESULT& result);
    std::wstring tip_text(HTREEITEM item);

    HWND hwnd_ = nullptr;
    HTREEITEM selected_ = nullptr;
    ImageList* images_ = nullptr;
    TreeViewEvents* events_ = nullptr;
    TreeViewWatcher* watcher_ = nullptr;
    std::unique_ptr<NodeCollection> nodes_;
    LabelEdit label_edit_;
    TreeTips tips_;
};

}  // namespace kelpy::platform
