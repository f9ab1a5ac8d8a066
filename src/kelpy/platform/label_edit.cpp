#include "kelpy/platform/label_edit.h"
#include <commctrl.h>
#include <utility>
#include "kelpy/platform/handler.h"

namespace kelpy::platform {

namespace {
constexpr UINT_PTR subclass_id = 1;
}  // namespace

bool LabelEdit::begin(HWND edit, const NodePtr& node) noexcept {
    stop();
    if (!edit || !SetWindowSubclass(edit, &LabelEdit::edit_proc, subclass_id, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    edit_ = edit;
    node_ = node;
    return true;
}

void LabelEdit::end(const wchar_t* text) {
    if (in_enter_ && text && node_) pending_ = Confirmation{node_, text};
    node_ = nullptr;
}

void LabelEdit::stop() noexcept {
    if (edit_) RemoveWindowSubclass(edit_, &LabelEdit::edit_proc, subclass_id);
    edit_ = nullptr;
    node_ = nullptr;
    pending_.reset();
}

void LabelEdit::hand_on() noexcept {
    if (!pending_) return;
    Confirmation c = std::move(*pending_);
    pending_.reset();
    if (c.node->removed()) return;  // the tree dropped the item while it was edited
    run_handler(L"AfterLabelEdit", [&] { confirmed_(c.node, c.text); });
}

LRESULT CALLBACK LabelEdit::edit_proc(HWND edit, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
    auto* self = reinterpret_cast<LabelEdit*>(data);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(edit, &LabelEdit::edit_proc, id);
        if (self->edit_ == edit) self->edit_ = nullptr;
    }
    // The tree ends the edit while it handles Enter's key (or its character), whatever else that
    // brings about (the edit hidden, its focus lost): an end within that handling is confirmed.
    const bool enter = (msg == WM_KEYDOWN && wp == VK_RETURN) || (msg == WM_CHAR && wp == L'\r');
    const bool outer = std::exchange(self->in_enter_, self->in_enter_ || enter);
    ++self->depth_;
    const LRESULT result = DefSubclassProc(edit, msg, wp, lp);
    self->in_enter_ = outer;
    if (--self->depth_ == 0) self->hand_on();
    return result;
}

}  // namespace kelpy::platform
