// The viewer's commands: the ids of its menu items (WM_COMMAND), of its menu bar, its keyboard
// shortcuts and its context menus.
#pragma once
#include <windows.h>

namespace viewer {

enum Command : UINT {
    // File
    CmdOpen = 100,
    CmdSave,
    CmdSaveAs,
    CmdExit,
    CmdAddData,
    // File: the recent documents, the most recent first
    CmdRecentFirst = 110,
    CmdRecentLast = CmdRecentFirst + 5,
    // View
    CmdRefresh = 200,
    CmdZoomFull,
    // The context menu of a layer or group layer item
    CmdLayerVisible = 300,
    CmdZoomToLayer,
    CmdRemoveLayer,
    CmdColorByField,
    CmdRenameLayer,
    // The fields offered by Colour by field…, the first one's command first
    CmdFieldFirst = 400,
    CmdFieldLast = CmdFieldFirst + 255,
    // The context menu of a legend row
    CmdChangeSymbol = 310,
};

}  // namespace viewer
