// Revisions: a number that the model's objects take anew at every change that decides how
// features fall into a renderer's classes (a feature class's features and values; a renderer's
// field, breaks and values), so that what is derived from them (a layer's counts per class) is
// kept exactly as long as it holds. The numbers come from one counter, so no two changes share
// one, even of objects that come and go at the same address.
//
// The interface is private to the model: it is in no type library and no proxy exists for it.
// An object that does not answer it (a host's own) has no revision, and what is derived from it
// is made anew every time.
#pragma once
#include <windows.h>
#include <unknwn.h>

MIDL_INTERFACE("58DC25FD-1AB4-41E2-B169-B6E8024E96FA")
IRevision : public IUnknown {
public:
    virtual ULONGLONG STDMETHODCALLTYPE Revision() = 0;
};
__CRT_UUID_DECL(IRevision, 0x58dc25fd, 0x1ab4, 0x41e2, 0xb1, 0x69, 0xb6, 0xe8, 0x02, 0x4e, 0x96, 0xfa)

namespace mapmodel {

// A new revision number; never 0.
ULONGLONG next_revision() noexcept;

// The revision of an object, or 0 when it has none (it does not answer IRevision, or is Nothing).
ULONGLONG revision_of(IUnknown* object) noexcept;

// IRevision for a class of the model, listed among the interfaces of its ComObject; the class
// calls revised() at every change that counts.
class Revised : public IRevision {
public:
    using interface_type = IRevision;
    ULONGLONG STDMETHODCALLTYPE Revision() override { return revision_; }
    void revised() noexcept { revision_ = next_revision(); }

private:
    ULONGLONG revision_ = next_revision();
};

}  // namespace mapmodel
