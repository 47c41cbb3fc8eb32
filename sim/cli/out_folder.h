// The output folder of a run or a comparison. The command never deletes or overwrites a file it
// did not make: a folder holding anything else is refused, and the files an earlier run made are
// known from the list that run left behind (with each file's size and hash, so a file edited
// since then counts as the user's and is kept).
#pragma once

#include <filesystem>
#include <string>

namespace sim {

// The list of the files a run made, in the output folder.
constexpr const char* MadeFilesList = ".vantor-sim-files";

// Makes the folder when missing; removes the files an earlier run listed as its own and left
// unchanged. False, with a message for the user in `error`, when the path is not a folder or
// the folder still holds anything else: nothing has been written then.
bool PrepareOutFolder(const std::filesystem::path& folder, std::string& error);

// Writes `text` as the whole file, replacing it. False when it cannot be written.
bool WriteWholeFile(const std::filesystem::path& path, const std::string& text);

// Lists every file now under the folder as made by this command, for the next run to remove.
// Call once the run has written everything. False when the list cannot be written.
bool ListMadeFiles(const std::filesystem::path& folder);

}  // namespace sim
