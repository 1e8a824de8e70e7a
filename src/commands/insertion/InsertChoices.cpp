#include "commands/insertion/InsertChoices.h"
#include "foundation/files/Paths.h"

#include <filesystem>
#include <string_view>

#include "foundation/bytes/ByteReader.h"
#include "foundation/seams/Prompter.h"
#include "mission/Mission.h"

namespace mw {

namespace {

std::string fileNameOf(const std::filesystem::path& path) { return utf8Of(path.filename()); }

std::string_view lastThree(const std::string& s) { return s.size() < 3 ? std::string_view{} : std::string_view(s).substr(s.size() - 3); }

} // namespace

std::optional<std::string> modelFieldFor(const std::filesystem::path& chosenPath, Prompter& prompter)
{
    std::string name = fileNameOf(chosenPath);
    const auto end = lastThree(name);
    if (end.size() != 3 || end[0] != '4' || (end[1] != 'd' && end[1] != 'D') || (end[2] != 's' && end[2] != 'S')) {
        prompter.message("****** Select *.4ds file ******", "");
        return std::nullopt;
    }
    name.replace(name.size() - 3, 3, "i3d");
    return name;
}

std::optional<std::string> soundFieldFor(const std::filesystem::path& chosenPath, Prompter& prompter)
{
    const std::string name = fileNameOf(chosenPath);
    const auto end = lastThree(name);
    if (end != "wav" && end != "WAV" && end != "Wav" && end != "WAv") {
        prompter.message("****** Select *.wav file ******", "");
        return std::nullopt;
    }
    return name;
}

int doorMaterialOf(const Mission& mission, std::uint32_t row)
{
    const auto& records = mission.sceneCatalogue().records;
    if (row >= records.size() || records[row].DefinitionChunkOffset == 0)
        return 0;
    const ByteReader file(mission.bytes(MissionFile::Scene));
    const std::uint32_t at = records[row].DefinitionChunkOffset;
    if (!file.has(at, 6))
        return 0;
    const std::uint32_t length = file.u32(at + 2);
    if (!file.has(at, length))
        return 0;
    const std::string data = file.text(at, length);
    if (data.find("glass") != std::string::npos)
        return 3;
    if (data.find("brass") != std::string::npos)
        return 2;
    return data.find("wood") != std::string::npos ? 1 : 0;
}

} // namespace mw
