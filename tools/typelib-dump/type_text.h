// IDL-like text for the pieces of a type library: types, parameters, members, flags.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <string>

namespace dump {

// The name of a type description as IDL writes it ("long", "BSTR", "ILayer*", "long*").
// Types of another library carry its name ("MapModel.ILayer"); `home` is the library printed.
std::wstring type_name(ITypeInfo* owner, const TYPEDESC& t, ITypeLib* home);

// "[in, out] long* msg": the parameter's directions and optional/default marks, its type
// (a trailing * marks a value passed by reference) and its name.
std::wstring param_text(ITypeInfo* owner, const ELEMDESC& e, const std::wstring& name, ITypeLib* home);

// One member function: "[id(0x60030006), propget] HRESULT Name([in] long v);".
std::wstring function_text(ITypeInfo* owner, const FUNCDESC& f, ITypeLib* home);

// Attribute lists, comma separated, of a type, an implemented interface and a member function.
std::wstring type_flags_text(const TYPEATTR& a);
std::wstring impl_flags_text(int flags);

// The type info's own name.
std::wstring name_of(ITypeInfo* ti);

}  // namespace dump
