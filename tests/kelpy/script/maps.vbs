' A host's script: map-model objects and the TOC control made by their program ids, and maps
' handed to the control as scripts hand them over: a variable (by reference), an expression (by
' value), Nothing, and objects that are not maps. Each line tells what happened.
Option Explicit
Dim map, roads, toc, unset

Set map = CreateObject("MapModel.Map")
map.Name = "Bay"
Set roads = CreateObject("MapModel.FeatureLayer")
roads.Name = "Roads"
map.AddLayer roads
WScript.Echo "layers " & map.LayerCount & " first " & map.Layer(0).Name & " same " & (map.Layer(0) Is roads)

Set toc = CreateObject("KELPY.TOC")
On Error Resume Next
toc.Initialize map
Report "variable"
toc.Initialize (map)
Report "value"
toc.Initialize Nothing
Report "nothing"
toc.Initialize roads
Report "layer"
toc.Initialize unset
Report "empty"
map.AddLayer map
Report "map-as-layer"
toc.Initialize map
map.AddLayer CreateObject("MapModel.PlainLayer")
Report "bound-map-changes"
WScript.Echo "layers " & map.LayerCount & " selected-nothing " & (toc.SelectedLayer Is Nothing)
' The second interface's members, by name through the same object.
Dim before
before = toc.ShowNestedGroups
toc.ShowNestedGroups = True
WScript.Echo "options " & before & " " & toc.ShowNestedGroups & " " & toc.DropAtMark & " item " & toc.ItemAt(0, 0).Kind
' The third interface's: the events object, the same one every time.
WScript.Echo "events " & TypeName(toc.Events) & " same " & (toc.Events Is toc.Events)

Sub Report(what)
    WScript.Echo what & " " & Err.Number
    Err.Clear
End Sub
