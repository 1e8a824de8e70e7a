#pragma once
// The object names the window gives its actions and the controls its code looks up, in one place:
// the window and its tests use these, so a rename fails to compile rather than at run time.

namespace mw::ids {

// Actions, by menu.
inline constexpr const char* LoadScene = "LoadScene";
inline constexpr const char* LoadCache = "LoadCache";
inline constexpr const char* LoadModel = "LoadModel";
inline constexpr const char* LoadTree = "LoadTree";
inline constexpr const char* Exit = "Exit";
inline constexpr const char* InsertPrefix = "Insert"; // + the kind: "InsertHuman", "InsertCar", ...
inline constexpr const char* Addin = "Addin";
inline constexpr const char* Racing = "Racing";
inline constexpr const char* PutCache = "PutCache";
inline constexpr const char* PutTree = "PutTree";
inline constexpr const char* About = "About";
inline constexpr const char* Undo = "Undo";
inline constexpr const char* Redo = "Redo";
inline constexpr const char* Cut = "Cut";
inline constexpr const char* Copy = "Copy";
inline constexpr const char* Paste = "Paste";
inline constexpr const char* Duplicate = "Duplicate";
inline constexpr const char* SelectAll = "SelectAll";
inline constexpr const char* MoveSelection = "MoveSelectionAction";
inline constexpr const char* ShowMap = "ShowMap";
inline constexpr const char* Show3D = "Show3D";
inline constexpr const char* ShowSelectionDock = "ShowSelectionDock";
inline constexpr const char* ShowScriptConsole = "ShowScriptConsole";
inline constexpr const char* RunScript = "RunScript";
inline constexpr const char* DropToGround = "DropToGround";
inline constexpr const char* HideSelected = "HideSelected";
inline constexpr const char* HideOthers = "HideOthers";
inline constexpr const char* ShowAll = "ShowAll";
inline constexpr const char* LockSelected = "LockSelected";
inline constexpr const char* UnlockAll = "UnlockAll";
inline constexpr const char* ItemStatesLabel = "ItemStates";
inline constexpr const char* ExportAddin = "ExportAddinAction";
inline constexpr const char* CheckMission = "CheckMission";
// Actions behind the buttons of the pages.
inline constexpr const char* DeleteObject = "DeleteObject";
inline constexpr const char* SaveSceneValues = "SaveSceneValues";
inline constexpr const char* SaveScript = "SaveScriptAction";

// Controls.
inline constexpr const char* ListTabs = "SSTabMod";
inline constexpr const char* InspectorTabs = "SSTab1";
inline constexpr const char* AllList = "List2";
inline constexpr const char* ScriptList = "List1";
inline constexpr const char* ThingList = "List3";
inline constexpr const char* CacheList = "List5";
inline constexpr const char* ModelList = "List4";
inline constexpr const char* TreeList = "List6";
inline constexpr const char* DeleteButton = "Delete";
inline constexpr const char* SaveScriptButton = "SaveScript";
inline constexpr const char* Status = "Status";
inline constexpr const char* ProgressPanel = "Frame1";
inline constexpr const char* ProgressBar = "ProgressBar1";
inline constexpr const char* ProgressText = "Text1";
inline constexpr const char* MapDock = "MapDock";
inline constexpr const char* MapView = "MissionMap";
inline constexpr const char* View3DDock = "View3DDock";
inline constexpr const char* View3D = "View3D";
inline constexpr const char* View3DNotice = "View3DNotice";
inline constexpr const char* View3DGridStep = "View3DGridStep";
inline constexpr const char* ChangedOnDiskBar = "ChangedOnDiskBar";
inline constexpr const char* CheckDock = "CheckReport";
inline constexpr const char* CheckList = "CheckList";
inline constexpr const char* CheckSummary = "CheckSummary";
inline constexpr const char* EntryName = "Text17";
inline constexpr const char* ScriptBox = "Text47";
inline constexpr const char* ScriptLength = "Text48";
inline constexpr const char* ScriptPane = "RichTextBox1";
inline constexpr const char* ScriptSearch = "search2";

} // namespace mw::ids
