// TreeView: the control's tree (tvwTOC) over the native comctl32 tree view: its window, its
// items (Nodes), its image list addressed by keys, its place and visibility, and its events.
//
// The one route of the tree window's messages. The tree replaces the window's procedure once,
// when it makes the window, and keeps itself in the window's GWLP_USERDATA (the comctl32
// subclass helpers would cost Wine a window-property lookup in its server for every message).
// That procedure reads each message once and hands it on as a typed call, a function per
// message: to the listener (TreeViewEvents) the mouse's presses, moves and releases with the
// button mask (1 left, 2 right, 4 middle; a press reports the button pressed with the buttons
// held already, a move the buttons held), the shift mask (1 Shift, 2 Ctrl, 4 Alt) and the
// position in the tree's client pixels; the key presses; the loss of the mouse capture. To the
// watcher (TreeViewWatcher) a screen reader's request for the tree's object, the keyboard focus
// coming, and the work the watcher posted to the window (PostWork). A listener may keep a
// release or a key from the native tree (`handled`); everything else goes on to the native tree
// after the call. While the screen's mouse pointer is custom (mouse_pointer.h), the tree shows it
// instead of its own. While a message is handled the tree's owner (TreeViewOwner) is held, so
// that a listener that makes the owner's host let go of it does not free the tree under its
// own window procedure.
//
// The native tree sends its notifications to its parent window, which hands every WM_NOTIFY to
// on_notify: Expand and Collapse come from TVN_ITEMEXPANDED; so do the label edits and tips of a
// tree with TVS_EDITLABELS or TVS_INFOTIP: BeforeLabelEdit lets an edit start (or not),
// AfterLabelEdit reports a text that a person confirmed with Enter (label_edit.h), TipText gives
// the tip of an item under the mouse (shown by the native tree, or by tree_tips.h where the
// native tree shows none). The parent window is a Unicode window, so the tree sends these
// notifications in their Unicode form.
//
// While the native tree handles a button press it may run a mouse-tracking loop of its own (to
// detect the start of a drag), which takes the following mouse messages off the queue without
// dispatching them, so the release would reach neither the window's procedure nor MouseUp.
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
    // The mouse, at a point of the tree's client area in pixels.
    virtual void MouseDown(int16_t, ShiftMask, POINT) {}
    virtual void MouseMove(int16_t, ShiftMask, POINT) {}
    // A release; `handled` (false on entry) keeps it from the native tree.
    virtual void MouseUp(int16_t, ShiftMask, POINT, bool& /*handled*/) {}
    // A key press (WM_KEYDOWN, or WM_SYSKEYDOWN when `system`) with the message's key data;
    // `handled` (false on entry) keeps it from the native tree, also when the call fails.
    virtual void KeyDown(WPARAM /*key*/, LPARAM /*data*/, bool /*system*/, bool& /*handled*/) {}
    // The tree lost the mouse capture, to the window `to` (null: to none).
    virtual void CaptureChanged(HWND /*to*/) {}
    virtual void Expand(const NodePtr&) {}
    virtual void Collapse(const NodePtr&) {}
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
// state changed by the user, and every item gone at once (a rebuild begins); these must not
// fail. It also gets what the tree window receives for it: a screen reader's request for an
// object of the window (WM_GETOBJECT, whose answer it may give by setting `handled`), the
// keyboard focus, and the work it posted with PostWork, done when the window's messages run.
class TreeViewWatcher {
public:
    virtual void SelectionChanged(HTREEITEM item) noexcept = 0;  // the new selected item, or null
    virtual void ItemChanged(const Node& node) noexcept = 0;
    virtual void ItemsCleared() noexcept = 0;
    virtual void ObjectRequested(WPARAM /*flags*/, LPARAM /*id*/, LRESULT& /*result*/, bool& /*handled*/) {}
    virtual void FocusGained() {}
    virtual void WorkPosted(WPARAM /*kind*/, LPARAM /*data*/) {}

protected:
    ~TreeViewWatcher() = default;
};

// The object the tree belongs to, held while a message of the tree window is handled.
class TreeViewOwner {
public:
    virtual void Hold() noexcept = 0;
    virtual void Unhold() noexcept = 0;

protected:
    ~TreeViewOwner() = default;
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
    // The owner held while the window's messages are handled (not owned; null: none).
    void SetOwner(TreeViewOwner* owner) noexcept { owner_ = owner; }
    // Posts work for the watcher to the tree window: WorkPosted(kind, data) when the window's
    // messages run. False when it could not be posted (no window, a full queue).
    bool PostWork(WPARAM kind, LPARAM data) const noexcept;
    // The message that carries the posted work.
    static UINT work_message() noexcept;

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
    // One function per kind of message, each making its typed call; those answering bool answer
    // true when the message goes no further than the call.
    LRESULT on_button_down(HWND, UINT, WPARAM, LPARAM);
    void on_mouse_move(WPARAM, LPARAM);
    bool on_button_up(UINT, WPARAM, LPARAM);
    bool on_key_down(UINT, WPARAM, LPARAM);
    void on_capture_changed(LPARAM);
    bool on_get_object(WPARAM, LPARAM, LRESULT& result);
    void on_set_focus();
    void on_work(WPARAM, LPARAM);
    void on_destroyed() noexcept;
    RECT bounds() const;
    bool on_label_notify(const NMHDR& header, LRESULT& result);
    std::wstring tip_text(HTREEITEM item);

    HWND hwnd_ = nullptr;
    HTREEITEM selected_ = nullptr;
    ImageList* images_ = nullptr;
    TreeViewEvents* events_ = nullptr;
    TreeViewWatcher* watcher_ = nullptr;
    TreeViewOwner* owner_ = nullptr;
    std::unique_ptr<NodeCollection> nodes_;
    LabelEdit label_edit_;
    TreeTips tips_;
};

}  // namespace kelpy::platform
