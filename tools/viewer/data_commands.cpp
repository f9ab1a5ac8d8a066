// Geographic data in the viewer: File > Add data… and files dropped on the window add the layers
// of GeoJSON and TopoJSON files on top of the map (a new, untitled map when none is open), and a
// feature layer's Colour by field… gives it a renderer made from one of its attribute fields.
#include <windows.h>
#include <shellapi.h>
#include "com/bstr.h"
#include "com/error.h"
#include "win/handles.h"
#include "com_server.h"
#include "commands.h"
#include "menus.h"
#include "viewer.h"
#include "viewer_text.h"

namespace viewer {

namespace {

bool finish_drop(HDROP drop) noexcept {
    DragFinish(drop);
    return true;
}
// A dropped set of files, released when done with.
using DropFiles = win::Handle<win::ClosedBy<HDROP, finish_drop>>;

std::wstring dropped_file(HDROP drop, UINT i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    DragQueryFileW(drop, i, path.data(), length + 1);
    path.resize(length);
    return path;
}

// How a field colours its layer: numbers by classes, texts and the like a colour per value.
// Fields of JSON objects and arrays, and fields with no value, colour nothing.
std::optional<bool> by_classes(FieldType type) {
    switch (type) {
    case FieldNumber: return true;
    case FieldText:
    case FieldBoolean:
    case FieldMixed: return false;
    default: return std::nullopt;
    }
}

struct FieldChoice {
    std::wstring name;
    bool classes;
};

std::vector<FieldChoice> field_choices(ILayer* layer) {
    std::vector<FieldChoice> choices;
    auto features = com::ComPtr<ILayer>(layer).query<IFeatureLayer>();
    com::ComPtr<IFeatureClass> fc;
    if (features) com::check(features->get_FeatureClass(fc.put()));
    LONG count = 0;
    if (fc) com::check(fc->get_FieldCount(&count));
    for (LONG i = 0; i < count && choices.size() <= CmdFieldLast - CmdFieldFirst; ++i) {
        FieldType type = FieldNone;
        com::Bstr name;
        com::check(fc->get_FieldType(i, &type));
        com::check(fc->get_FieldName(i, name.put()));
        if (auto classes = by_classes(type); classes && !name.empty()) choices.push_back({name.str(), *classes});
    }
    return choices;
}

}  // namespace

void Viewer::NewDocument() {
    auto document = host::create_object<IMapDocument>(CLSID_MapDocument, L"mapmodel.dll");
    com::check(document->LoadText(com::Bstr(L"{\"name\": \"Layers\", \"layers\": []}").get(), com::Bstr(L"Untitled").get()));
    Bind(document, L"");
}

// The file is read whole before anything changes: a file that cannot be read adds nothing.
bool Viewer::AddData(const std::wstring& path) {
    try {
        auto data = host::create_object<IDataFile>(CLSID_DataFile, L"mapmodel.dll");
        com::check(data->Open(com::Bstr(path).get()));
        LONG count = 0;
        com::check(data->get_LayerCount(&count));
        if (!map_) NewDocument();
        // The file's first layer ends on top; a layer the map refuses takes the others back out.
        std::vector<com::ComPtr<ILayer>> added;
        try {
            for (LONG i = count - 1; i >= 0; --i) {
                com::ComPtr<ILayer> layer;
                com::check(data->get_Layer(i, layer.put()));
                com::check(map_->AddLayer(layer.get()));
                added.push_back(layer);
            }
        } catch (...) {
            for (const auto& layer : added) map_->DeleteLayer(layer.get());
            throw;
        }
        // The map pane paints the map once with its new layers.
        InvalidateRect(map_window(), nullptr, FALSE);
        SetModified(true);
        UpdateStatus();
        return true;
    } catch (const com::ComError& e) {
        ShowError(L"The data could not be added: " + reason(e));
    }
    return false;
}

void Viewer::OnAddData() {
    if (auto path = prompts_.DataToAdd(frame_)) AddData(*path);
}

void Viewer::OnDropFiles(HDROP drop) {
    const DropFiles files(drop);
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) AddData(dropped_file(drop, i));
}

bool Viewer::CanColorByField(ILayer* layer) const { return !field_choices(layer).empty(); }

// The fields are offered in a menu at the same place; the control shows the new legend once it
// rebuilds (it does not watch renderers).
void Viewer::ColorByField(ILayer* layer, POINT at) {
    const std::vector<FieldChoice> choices = field_choices(layer);
    if (choices.empty()) return;
    Menu menu = make_popup_menu();
    for (size_t i = 0; i < choices.size(); ++i) {
        const std::wstring text = choices[i].name + (choices[i].classes ? L" (5 classes)" : L" (a colour per value)");
        append(menu.get(), MF_STRING, CmdFieldFirst + i, text.c_str());
    }
    const UINT picked = prompts_.PickFromMenu(frame_, menu.get(), at);
    if (picked < CmdFieldFirst || picked - CmdFieldFirst >= choices.size()) return;
    const FieldChoice& choice = choices[picked - CmdFieldFirst];
    auto rendering = com::ComPtr<ILayer>(layer).as<IFeatureRendering>();
    com::ComPtr<IFeatureClass> features;
    com::check(rendering->get_FeatureClass(features.put()));
    auto maker = host::create_object<IRendererMaker>(CLSID_RendererMaker, L"mapmodel.dll");
    com::ComPtr<IFeatureRenderer> renderer;
    const com::Bstr field(choice.name);
    com::check(choice.classes ? maker->ClassBreaks(features.get(), field.get(), renderer.put())
                              : maker->UniqueValues(features.get(), field.get(), renderer.put()));
    com::check(rendering->putref_Renderer(renderer.get()));
    com::check(toc_->Reset());
    SetModified(true);
    RefreshView();
}

}  // namespace viewer
