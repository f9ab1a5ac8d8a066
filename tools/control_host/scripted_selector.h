// ScriptedSelector: answers for the platform's symbol selector dialog while it lives. It
// registers a class object for the selector's class id in this process (CoRegisterClassObject),
// so every selector that code of this process creates answers from the script instead of
// showing its dialog: it cancels, or it confirms a copy of the symbol it was handed, with a new
// colour and size when the script gives them.
#pragma once
#include <windows.h>
#include <functional>
#include <memory>
#include <optional>
#include "com/ptr.h"
#include "mapmodel.h"

namespace host {

struct SelectorAnswer {
    bool confirm = true;
    std::optional<COLORREF> color;  // the copy's colour
    std::optional<double> size;     // a marker's size, a line's width (points)
    // Runs while the dialog is open, as a modal dialog's message loop runs whatever else the
    // application does meanwhile (a map that changes, a host that rebuilds the control).
    std::function<void()> while_open;
};

class ScriptedSelector {
public:
    explicit ScriptedSelector(SelectorAnswer answer = {});
    ~ScriptedSelector();
    ScriptedSelector(const ScriptedSelector&) = delete;
    ScriptedSelector& operator=(const ScriptedSelector&) = delete;

    void answer(SelectorAnswer a);
    // How many selectors were shown, the owner window the last one was shown over, and the
    // symbol the last confirmed one answered.
    int shown() const;
    HWND owner() const;
    com::ComPtr<ISymbol> chosen() const;

    struct State;

private:
    std::shared_ptr<State> state_;
    DWORD cookie_ = 0;
};

}  // namespace host
