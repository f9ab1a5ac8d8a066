// The symbol selector's dialog: a person edits a symbol's colour, its size or width and its
// style, sees a preview drawn by the symbol itself, and confirms or cancels. The editor works
// on the symbol it is given (the selector gives it a copy), through the symbol's interfaces.
#pragma once
#include <windows.h>
#include <exception>
#include <string>
#include "com/ptr.h"
#include "mapmodel/typelib.h"

namespace mapmodel {

class SymbolEditor {
public:
    enum class Kind { SolidFill, GradientFill, Line, Marker, Pie, Other };
    static Kind kind_of(ISymbol* symbol);

    explicit SymbolEditor(com::ComPtr<ISymbol> symbol);
    // Shows the dialog modally over the parent (or over no window); true when confirmed. A step
    // of the dialog that fails (reading or writing the symbol, painting its preview) ends the
    // dialog, and run throws that failure.
    bool run(HWND parent);

private:
    static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wp, LPARAM lp);
    INT_PTR handle(UINT message, WPARAM wp, LPARAM lp);
    void fill_in();
    // Takes the fields into the symbol; the text of what is wrong, or empty.
    std::wstring take_fields();
    void show_problem(const std::wstring& problem);
    void pick_color();
    void paint_preview(const DRAWITEMSTRUCT& item);

    COLORREF color() const;
    void set_color(COLORREF c);
    double size() const;
    void set_size(double points);
    long style() const;
    void set_style(long s);

    com::ComPtr<ISymbol> symbol_;
    Kind kind_;
    HWND dialog_ = nullptr;
    bool filling_ = false;  // while the fields are being filled in, their changes are not taken
    std::exception_ptr failure_;  // the failure that ended the dialog
};

}  // namespace mapmodel
