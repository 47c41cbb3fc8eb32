// The output folder of a run or a comparison. The command never deletes or overwrites a file it
// did not make: a folder holding anything else is refused, and the files an earlier run made are
// known from the list that run left behind (with each file's size and hash, so a file edited
// since then counts as the user's and is kept).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace sim {

// The list of the files a run made, in the output folder.
constexpr const char* MadeFilesList = ".vantor-sim-files";

// Makes the folder when missing; removes the files an earlier run listed as its own and left
// unchanged. False, with a message for the user in `error`, when the path is not a folder or
// the folder still holds anything else: nothing has been written then.
bool PrepareOutFolder(const std::filesystem::path& folder, std::string& error);

// Lists every file now under the folder as made by this command, for the next run to remove.
// Call once the run has written everything. False when the list cannot be written.
bool ListMadeFiles(const std::filesystem::path& folder);

// The output folder as the working folder while a run, a drive or a comparison writes there.
struct OutFolderVisit {
  std::filesystem::path path;      // absolute
  std::filesystem::path previous;  // the working folder before, gone back to at the end
};

enum class FolderEntry : uint8_t { Entered, Refused, CannotWork };

// Prepares the folder (PrepareOutFolder) and makes it the working folder. Refused: nothing has
// been written, PrepareOutFolder's message in `error`; CannotWork: the folder is ready but cannot
// be worked in, the system's reason in `error`.
FolderEntry EnterOutFolder(OutFolderVisit& visit, const std::filesystem::path& folder, std::string& error);

// Goes back to the working folder before and lists the files made, for the next run to remove.
// False when the list cannot be written.
bool LeaveOutFolder(const OutFolderVisit& visit);

}  // namespace sim
