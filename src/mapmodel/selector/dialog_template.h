// An in-memory dialog template (DLGTEMPLATE and its items), so that a dialog needs no resource
// of the binary it runs in. Positions and sizes are in dialog units.
#pragma once
#include <windows.h>
#include <string_view>
#include <vector>

namespace mapmodel {

class DialogTemplate {
public:
    // The predefined classes of dialog items.
    enum class Kind : WORD { Button = 0x0080, Edit = 0x0081, Static = 0x0082, ComboBox = 0x0085 };

    DialogTemplate(std::wstring_view title, short width, short height, std::wstring_view font, WORD points);
    void add(Kind kind, WORD id, std::wstring_view text, DWORD style, short x, short y, short cx, short cy,
             DWORD ex_style = 0);
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void align();
    void text(std::wstring_view s);
    void dword(DWORD v);
    std::vector<WORD> words_;
};

}  // namespace mapmodel
