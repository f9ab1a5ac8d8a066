// LabelEdit: one edit of an item's label in place, as the native tree runs it (a tree with
// TVS_EDITLABELS): the tree puts an edit control over the label and reports the end of the edit
// (TVN_ENDLABELEDIT) with the text when the edit lost the focus or Enter was pressed, and
// without one after Escape. Here only Enter confirms: the session watches the edit control's
// messages, and an edit that the tree ends while it handles Enter is confirmed; one that ends any
// other way (Escape, a click elsewhere, the item removed) confirms nothing.
//
// A confirmed text is handed on once the native tree has finished the edit (the message that
// ended it is handled through), so that whoever takes it may change the tree, even rebuild it.
#pragma once
#include <windows.h>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include "kelpy/platform/node.h"

namespace kelpy::platform {

class LabelEdit {
public:
    // Receives the item and the text that a person confirmed.
    using Confirmed = std::function<void(const NodePtr& node, std::wstring_view text)>;

    explicit LabelEdit(Confirmed confirmed) noexcept : confirmed_(std::move(confirmed)) {}
    ~LabelEdit() { stop(); }
    LabelEdit(const LabelEdit&) = delete;
    LabelEdit& operator=(const LabelEdit&) = delete;

    // The tree starts editing the item's label in `edit` (TVN_BEGINLABELEDIT); false when the
    // edit control cannot be watched (the edit must not start then).
    bool begin(HWND edit, const NodePtr& node) noexcept;
    // The tree ends the edit (TVN_ENDLABELEDIT; `text` null: cancelled). A confirmation is kept
    // until the edit control's message that brought it is handled through.
    void end(const wchar_t* text);
    // Stops watching the edit control (the tree goes); nothing more is handed on.
    void stop() noexcept;

private:
    static LRESULT CALLBACK edit_proc(HWND edit, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
    // Hands on a confirmation that the last message brought.
    void hand_on() noexcept;

    Confirmed confirmed_;
    HWND edit_ = nullptr;
    NodePtr node_;
    bool in_enter_ = false;  // the edit control is handling Enter
    int depth_ = 0;          // of the edit control's messages being handled
    struct Confirmation {
        NodePtr node;
        std::wstring text;
    };
    std::optional<Confirmation> pending_;
};

}  // namespace kelpy::platform
