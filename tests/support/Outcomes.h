#pragma once
// Commands' outcomes in the words the value and script tests compare them in: the core's one
// outcome with the command's payload, turned into the cases a test expects.

#include "commands/addins/Import.h"
#include "commands/editing/SceneValueSave.h"
#include "commands/editing/Scripts.h"

namespace mw::build {

enum class ValueSaveResult { Refused, Stale, TransformOnly, Saved };
inline ValueSaveResult valueSaveOf(const Result<ValuesSaved>& saved)
{
    if (saved.ended == Ended::Stale)
        return ValueSaveResult::Stale;
    if (!saved.done())
        return ValueSaveResult::Refused;
    return saved.value.all ? ValueSaveResult::Saved : ValueSaveResult::TransformOnly;
}

enum class ScriptSaveResult { SameLength, NewLength, Refused, Stale };
inline ScriptSaveResult scriptSaveOf(const Result<ScriptSaved>& saved)
{
    if (saved.ended == Ended::Stale)
        return ScriptSaveResult::Stale;
    if (!saved.done())
        return ScriptSaveResult::Refused;
    return saved.value.newLength ? ScriptSaveResult::NewLength : ScriptSaveResult::SameLength;
}

enum class ImportResult { Complete, Stopped, Refused, Stale, Failed };
inline ImportResult importOf(const Result<Imported>& imported)
{
    switch (imported.ended) {
    case Ended::Done: return imported.value.stopped ? ImportResult::Stopped : ImportResult::Complete;
    case Ended::Stale: return ImportResult::Stale;
    case Ended::Failed: return ImportResult::Failed;
    case Ended::Refused: break;
    }
    return ImportResult::Refused;
}

} // namespace mw::build
