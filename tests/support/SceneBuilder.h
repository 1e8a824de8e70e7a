#pragma once
// Builds synthetic scene2.bin files with exactly the chunks a test asks for. Every call reports the
// offsets it wrote, in the terms the scene loader records them (payload offsets of fields, start
// offsets of chunks).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/ChunkBuilder.h"

namespace mw::build {

using Floats3 = std::array<float, 3>;
using Floats2 = std::array<float, 2>;

struct LightParts {
    std::optional<std::uint32_t> kind;
    std::optional<Floats3> colour;
    std::optional<float> power;
    std::optional<Floats2> range;
    std::optional<Floats2> distance;
    // Writes colour, power, range and distance inside a nested light header.
    bool nested = false;
};

struct SoundParts {
    std::optional<std::string> fileName;
    std::optional<std::int32_t> kind;
    std::optional<float> volume;
    std::optional<Floats2> fields34;
    std::optional<Floats2> fields56;
};

struct ObjectParts {
    std::optional<std::string> name;
    std::optional<std::uint32_t> type;
    std::optional<Floats3> translation;
    std::optional<std::array<float, 4>> rotation;
    std::optional<Floats3> size;
    std::optional<std::string> model;
    std::optional<std::string> link;
    std::optional<LightParts> light;
    std::optional<SoundParts> sound;
    // Adds chunks the loader carries through without reading (0x002C, 0x4050, 0xB401).
    bool unknownChunks = false;
};

// Offsets are 0 where the chunk was not written.
struct ObjectOffsets {
    std::size_t object = 0, end = 0;
    std::size_t translation = 0, rotation = 0, size = 0;
    std::size_t lightColour = 0, lightPower = 0, lightRange = 0, lightDistance = 0;
    std::array<std::size_t, 7> soundField{};
};

struct DefinitionParts {
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data; // the payload of the 0xAE24 chunk
};

struct DefinitionOffsets {
    std::size_t definition = 0, data = 0, dataPayload = 0, end = 0;
};

struct ScriptOffsets {
    std::size_t chunk = 0, lengthField = 0, end = 0;
};

class SceneBuilder {
public:
    SceneBuilder(); // writes the "SL" header; its size is set by finish()

    ChunkBuilder& chunks() { return m_chunks; }

    void headerRecord(std::uint16_t id, std::vector<std::uint8_t> payload = {});

    void beginObjects();
    ObjectOffsets object(const ObjectParts& parts);
    void endObjects();

    void beginDefinitions();
    DefinitionOffsets definition(const DefinitionParts& parts);
    void endDefinitions();

    void beginScripts();
    ScriptOffsets script(const std::string& name, const std::string& text);
    void endScripts();

    std::size_t objectsStart = 0, definitionsStart = 0, scriptsStart = 0;

    std::vector<std::uint8_t> finish();

private:
    ChunkBuilder m_chunks;
};

// One physical thing "Crate" at (1, 2, 3) with its definition: the scene the merge and add-in tests
// start from. `objectsStart` is the objects section's offset.
struct CrateScene {
    std::vector<std::uint8_t> bytes;
    std::size_t objectsStart = 0;
};
CrateScene crateScene();

// A scene whose one object "Deep" holds `lights` light chunks nested one in the next, every size
// field consistent: the first light stands at level 3 of the chunk tree, the k-th at level 2 + k.
// `lightStarts` are their offsets, outermost first.
struct NestedScene {
    std::vector<std::uint8_t> bytes;
    std::vector<std::size_t> lightStarts;
    std::size_t object = 0, objectEnd = 0;
};
NestedScene nestedLightScene(std::size_t lights);

// Definition data payloads laid out as the game's definitions are.
std::vector<std::uint8_t> humanData(std::uint8_t behaviour, std::uint8_t sex, float aggression, float weight,
                                    const std::string& script, bool scriptAt78 = false,
                                    std::uint8_t byte78 = 0);
std::vector<std::uint8_t> thingData(float weight, std::int32_t sound);
std::vector<std::uint8_t> scriptedObjectData(const std::string& script);

// Payload offsets of the fields inside humanData().
inline constexpr std::size_t HumanBehaviourAt = 1, HumanSexAt = 5, HumanAggressionAt = 41, HumanWeightAt = 65;

} // namespace mw::build
