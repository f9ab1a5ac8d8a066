// A property of a control set from a program's command line, "Name=Value" (--set Name=Value):
// put through the control's IDispatch by name, as a script would set it, so a program knows no
// property of its own. True and False (in any case) go as Booleans; any other value goes as
// text, for the control's dispatch to convert to the property's type.
#pragma once
#include <windows.h>
#include <optional>
#include <string>

namespace host {

struct PropertySetting {
    std::wstring name;
    std::wstring value;
    std::wstring text;  // as written
};

// The setting written in `text`, or nothing when it is not "Name=Value" with a name.
std::optional<PropertySetting> parse_setting(const std::wstring& text);

// Puts the property; a name the control does not know, or a value it does not take, is an error
// that names the setting.
void put_property(IUnknown* control, const PropertySetting& setting);

}  // namespace host
