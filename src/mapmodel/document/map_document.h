// MapDocument: opens a map document (a file) or loads one from text. The map it holds is
// replaced only when a whole document has loaded; after an error it keeps the previous one.
#pragma once
#include "com/object.h"
#include "mapmodel/support.h"

namespace mapmodel {

class MapDocument final : public com::ComObject<MapDocument, Dispatch<IMapDocument>, com::SupportErrorInfo> {
public:
    STDMETHODIMP Open(BSTR path) override;
    STDMETHODIMP LoadText(BSTR json, BSTR nameForErrors) override;
    STDMETHODIMP get_Map(IMap** map) override;
    STDMETHODIMP get_Path(BSTR* path) override;

private:
    com::ComPtr<IMap> map_;
    std::wstring path_;
};

}  // namespace mapmodel
