#pragma once
// All or nothing, checked for each file operation of a command: the command runs once in a fresh
// game folder to count its file operations N (at least the count it is known to need, so that a
// write that stopped going through the counting file layer cannot shrink the sweep to nothing),
// then N more times, each in a fresh folder with operation k failing (k = 1 ... N). After each
// failing run every file and folder is as before, nothing is left behind, exactly one message was
// shown, Busy is clear, the history is unchanged, and what the mission holds in memory (each loaded
// file's bytes, the scene's rows) is what the files on disk hold.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "foundation/files/FileAccess.h"
#include "foundation/files/FileFaults.h"
#include "formats/scene/SceneLoader.h"
#include "mission/Mission.h"
#include "support/ScriptedPrompter.h"
#include "support/TempFolder.h"

namespace mw::build {

// A game folder with a mission in it, as a test's setup leaves it.
struct FaultWorld {
    TempFolder dir;
    Mission mission;
    ScriptedPrompter prompter;
    std::filesystem::path game() const { return dir.path() / "game"; }
    std::filesystem::path folder() const { return game() / "missions" / "m1"; }
};

// Every file and folder below `root`, with the bytes of each file (folders map to nothing).
inline std::map<std::filesystem::path, std::vector<std::uint8_t>> folderSnapshot(const std::filesystem::path& root)
{
    std::map<std::filesystem::path, std::vector<std::uint8_t>> entries;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
        entries[e.path()] = e.is_regular_file() ? readWholeFile(e.path()) : std::vector<std::uint8_t>{};
    return entries;
}

// The mission's loaded files in memory against the same files on disk: the bytes, and the scene's
// rows as a fresh load of the disk's bytes makes them.
inline void expectMemoryMatchesDisk(const Mission& mission)
{
    for (const MissionFile file : MissionFiles) {
        if (!mission.isLoaded(file))
            continue;
        const std::vector<std::uint8_t> disk = readWholeFile(mission.pathOf(file));
        const auto kept = mission.bytes(file);
        EXPECT_TRUE(std::equal(kept.begin(), kept.end(), disk.begin(), disk.end()))
            << missionFileName(file) << ": the bytes in memory are not the file's";
        if (file != MissionFile::Scene)
            continue;
        const SceneLoadResult fresh = loadScene(disk);
        const SceneCatalogue& shown = mission.sceneCatalogue();
        ASSERT_EQ(shown.entryCount(), fresh.catalogue.entryCount()) << "the scene's rows are not the file's";
        for (std::uint32_t row = 0; row < shown.entryCount(); ++row) {
            EXPECT_EQ(shown.name(row), fresh.catalogue.name(row)) << "row " << row;
            EXPECT_EQ(shown.records[row].ObjectChunkOffset, fresh.catalogue.records[row].ObjectChunkOffset) << "row " << row;
            EXPECT_EQ(shown.translation(row), fresh.catalogue.translation(row)) << "row " << row;
        }
    }
}

// `setup` builds the folder and loads what the command needs (answers included); `command` runs it
// and needs at least `minimum` file operations. Returns N, the number of file operations of a run
// without failures.
inline std::size_t sweepFileFaults(const std::function<void(FaultWorld&)>& setup,
                                   const std::function<void(FaultWorld&)>& command, std::size_t minimum)
{
    std::size_t operations = 0;
    {
        FaultWorld world;
        setup(world);
        const auto before = folderSnapshot(world.dir.path());
        const std::size_t start = FileFaults::operationCount();
        command(world);
        operations = FileFaults::operationCount() - start;
        EXPECT_NE(folderSnapshot(world.dir.path()), before) << "the command changed nothing";
    }
    EXPECT_GE(operations, minimum) << "the command no longer counts its file operations";
    for (std::size_t k = 1; k <= operations; ++k) {
        SCOPED_TRACE("file operation " + std::to_string(k) + " of " + std::to_string(operations) + " fails");
        FaultWorld world;
        setup(world);
        const auto before = folderSnapshot(world.dir.path());
        const std::size_t steps = world.mission.history().undoCount();
        const auto* next = world.mission.history().nextUndo();
        const std::string lastStep = next ? next->name : std::string();
        world.prompter.said.clear();
        FileFaults::failOperation(k);
        command(world);
        FileFaults::failOperation(0);
        const auto after = folderSnapshot(world.dir.path());
        EXPECT_EQ(before.size(), after.size()) << "a file or folder was left behind or removed";
        for (const auto& [path, bytes] : before) {
            const auto found = after.find(path);
            EXPECT_TRUE(found != after.end() && found->second == bytes) << path << " changed";
        }
        EXPECT_EQ(world.prompter.messages().size(), 1u);
        EXPECT_FALSE(world.mission.workspace().Busy);
        EXPECT_EQ(world.mission.history().undoCount(), steps);
        const auto* now = world.mission.history().nextUndo();
        EXPECT_EQ(now ? now->name : std::string(), lastStep);
        expectMemoryMatchesDisk(world.mission);
    }
    return operations;
}

} // namespace mw::build
