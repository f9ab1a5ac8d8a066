// A host's script: map-model objects and the TOC control made by their program ids, and maps
// handed to the control as JScript hands them over (objects by value, null), and objects that
// are not maps. Each line tells what happened; errors show their number in hexadecimal.
var map = new ActiveXObject("MapModel.Map");
map.Name = "Bay";
var roads = new ActiveXObject("MapModel.FeatureLayer");
roads.Name = "Roads";
map.AddLayer(roads);
WScript.Echo("layers " + map.LayerCount + " first " + map.Layer(0).Name);

var toc = new ActiveXObject("KELPY.TOC");
function attempt(what, call) {
    try {
        call();
        WScript.Echo(what + " 0");
    } catch (e) {
        WScript.Echo(what + " " + (e.number < 0 ? e.number + 0x100000000 : e.number).toString(16));
    }
}
attempt("value", function () { toc.Initialize(map); });
attempt("layer", function () { toc.Initialize(roads); });
attempt("map-as-layer", function () { map.AddLayer(map); });
attempt("bound-map-changes", function () { map.AddLayer(new ActiveXObject("MapModel.PlainLayer")); });
WScript.Echo("layers " + map.LayerCount + " selected-null " + (toc.SelectedLayer === null));
