#pragma once
// "Put&Cache": every cached object of cache.bin becomes a model object of scene2.bin, named "CA",
// its record's index, "-" and its model name without the extension, linked to "Primary sector".

#include <string>
#include <vector>

#include "commands/merges/SceneMerge.h"
#include "formats/cache/CacheFile.h"

namespace mw {

// The object chunks for the cache's object records (base records are skipped but counted).
std::vector<std::uint8_t> cacheObjectChunks(const CacheLoadResult& cache);

// The checks and questions, the backup and the rewrite; one undo step.
Outcome putCache(Mission& mission, Prompter& prompter);

} // namespace mw
