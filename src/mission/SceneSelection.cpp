#include "mission/SceneSelection.h"

#include "formats/scene/SceneCatalogue.h"
#include "mission/Workspace.h"

namespace mw {

SceneSelection selectionAfterLoad(const SceneCatalogue& catalogue, Workspace& ws, SceneLoadKind kind,
                                  const std::optional<KeptRows>& keep)
{
    if (keep) {
        ws.KeepSelection = true;
        ws.ReloadIndex = keep->all;
        ws.ObjectIndex = keep->fallback;
        ws.ScriptListIndex = keep->scripts;
        ws.PlainListIndex = keep->things;
    }
    SceneSelection s;
    const auto rows = static_cast<std::uint32_t>(catalogue.entryCount());
    const auto scriptRows = static_cast<std::uint32_t>(catalogue.scriptRows.size());
    const auto plainRows = static_cast<std::uint32_t>(catalogue.plainRows.size());
    if (scriptRows > 0)
        s.scripts = 0;
    if (plainRows > 0)
        s.things = 0;

    if (kind == SceneLoadKind::Fresh) {
        if (rows > 0)
            s.all = 0;
        ws.ObjectIndex = 0;
        ws.ScriptListIndex = 0;
        ws.PlainListIndex = 0;
        ws.KeepSelection = false;
        return s;
    }

    // With no remembered row, a reload goes to the first free-standing script; a writer that asks
    // for its row to be kept (row 0 included) gets that row.
    if (!ws.KeepSelection && ws.ObjectIndex == 0 && catalogue.FirstScriptIndex < rows)
        ws.ObjectIndex = catalogue.FirstScriptIndex;
    if (ws.ObjectIndex < rows)
        s.all = ws.ObjectIndex;

    if (ws.KeepSelection) {
        if (ws.ReloadIndex < rows) {
            if (ws.ReloadIndex != 0)
                s.all = ws.ReloadIndex;
            else if (ws.ObjectIndex < rows)
                s.all = ws.ObjectIndex;
        }
        if (ws.ScriptListIndex < scriptRows)
            s.scripts = ws.ScriptListIndex;
        if (ws.PlainListIndex < plainRows)
            s.things = ws.PlainListIndex;
        ws.KeepSelection = false;
    }
    if (keep)
        for (const std::uint32_t row : keep->more)
            if (row < rows && row != s.all)
                s.more.push_back(row);
    return s;
}

} // namespace mw
