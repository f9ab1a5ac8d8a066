// Files of geographic data: GeoJSON or TopoJSON, told apart by their top-level "type"
// ("Topology" for TopoJSON), read into feature layers (geojson.h, topojson.h). DataFile is the
// model's class for them (IDataFile); map documents refer to them too.
#pragma once
#include <string>
#include <string_view>
#include <vector>
#include "com/object.h"
#include "mapmodel/support.h"

namespace mapmodel {

namespace geodata {

// The layers of the file at `path`, whose errors name the file as given. A GeoJSON file's layers
// are named after the file (without its extension), a TopoJSON file's after its objects.
std::vector<com::ComPtr<ILayer>> read_data_file(const std::wstring& path);
// The same from a file's text; `full_path` is the file's, which the feature classes keep.
std::vector<com::ComPtr<ILayer>> read_data(std::string text, const std::wstring& name, const std::wstring& full_path);

}  // namespace geodata

class DataFile final : public com::ComObject<DataFile, Dispatch<IDataFile>, com::SupportErrorInfo> {
public:
    STDMETHODIMP Open(BSTR path) override;
    STDMETHODIMP get_Path(BSTR* path) override;
    STDMETHODIMP get_LayerCount(long* n) override;
    STDMETHODIMP get_Layer(long index, ILayer** layer) override;

private:
    std::wstring path_;
    std::vector<com::ComPtr<ILayer>> layers_;
};

}  // namespace mapmodel
