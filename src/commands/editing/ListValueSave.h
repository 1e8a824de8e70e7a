#pragma once
// Saving the values of the cache, model-file and collision lists in place: the transform checks,
// then fixed-width writes at the offsets their readers recorded. The file length never changes.

#include <optional>

#include "commands/editing/SceneValueSave.h"
#include "commands/editing/TransformCheck.h"
#include "formats/cache/CacheFile.h"
#include "formats/collision/CollisionFile.h"
#include "formats/model/ModelFile.h"

namespace mw {

class Mission;
class Prompter;

// cache.bin: translation, the four rotation floats (q2 from the vertical angle as a 32-bit float)
// and the size, of the record in `row` of the loaded cache.
Outcome saveCacheValues(const TransformForm& form, Mission& mission, std::size_t row, Prompter& prompter);

// scene.4ds: the translation only, of `frame`, one of the loaded model file's frames.
Outcome saveModelValues(const TransformForm& form, const ModelFrame& frame, Mission& mission,
                                Prompter& prompter);

// tree.klz: the material byte (when one is chosen), then the geometry of the body's kind from the
// centre and size, of the body in `row` of the loaded collision file.
Outcome saveCollisionValues(const TransformForm& form, std::optional<int> material, Mission& mission,
                                    std::size_t row, Prompter& prompter);

} // namespace mw
