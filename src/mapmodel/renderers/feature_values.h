// How renderers read a feature's value (its own value or an attribute): as a number for class
// breaks, as a text for unique values, in the automation sense (a text "2.5" is a number, a
// number's text is as the system writes it). Drawing and the renderers made from fields read
// values the same way, so a class made for a value is the class that value is drawn with.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <optional>
#include <string>

namespace mapmodel {

// The value as a number, or nullopt when it is not one (Empty, Null, a text of no number).
std::optional<double> value_number(const VARIANT& v);
// The value as a text; empty for Empty, Null and values that have no text.
std::wstring value_text(const VARIANT& v);

}  // namespace mapmodel
