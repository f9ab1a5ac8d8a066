// MapDocument: opens a map document (a file) or loads one from text, and saves its map to a
// file. The map it holds is replaced only when a whole document has loaded; after an error it
// keeps the previous one. Path is the file last opened or saved; a failed save changes nothing.
#pragma once
#include "com/object.h"
#include "mapmodel/map/map.h"
#include "mapmodel/support.h"

namespace mapmodel {

class MapDocument final : public com::ComObject<MapDocument, Dispatch<IMapDocument>, com::SupportErrorInfo> {
public:
    STDMETHODIMP Open(BSTR path) override;
    STDMETHODIMP LoadText(BSTR json, BSTR nameForErrors) override;
    STDMETHODIMP get_Map(IMap** map) override;
    STDMETHODIMP get_Path(BSTR* path) override;
    STDMETHODIMP Save(BSTR path) override;

private:
    com::ComPtr<Map> map_;  // always one the loader made: a document's map is never a host's
    std::wstring path_;
};

}  // namespace mapmodel
