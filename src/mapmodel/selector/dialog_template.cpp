#include "mapmodel/selector/dialog_template.h"

namespace mapmodel {

namespace {
constexpr size_t kCountWord = 4;  // DLGTEMPLATE.cdit: style (2 words), exStyle (2 words), then cdit
}

DialogTemplate::DialogTemplate(std::wstring_view title, short width, short height, std::wstring_view font, WORD points) {
    dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    dword(0);
    words_.push_back(0);  // items, counted by add()
    for (short v : {short(0), short(0), width, height}) words_.push_back(WORD(v));
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the standard dialog class
    text(title);
    words_.push_back(points);
    text(font);
}

void DialogTemplate::add(Kind kind, WORD id, std::wstring_view caption, DWORD style, short x, short y, short cx,
                         short cy, DWORD ex_style) {
    align();
    dword(style | WS_CHILD | WS_VISIBLE);
    dword(ex_style);
    for (short v : {x, y, cx, cy}) words_.push_back(WORD(v));
    words_.push_back(id);
    words_.push_back(0xFFFF);
    words_.push_back(WORD(kind));
    text(caption);
    words_.push_back(0);  // no creation data
    ++words_[kCountWord];
}

void DialogTemplate::align() {
    if (words_.size() % 2) words_.push_back(0);  // items start on a DWORD boundary
}

void DialogTemplate::text(std::wstring_view s) {
    words_.insert(words_.end(), s.begin(), s.end());
    words_.push_back(0);
}

void DialogTemplate::dword(DWORD v) {
    words_.push_back(LOWORD(v));
    words_.push_back(HIWORD(v));
}

}  // namespace mapmodel
