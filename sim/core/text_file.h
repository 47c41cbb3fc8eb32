// Whole files as bytes, and bytes as text a person can read: what the simulator's outputs and
// the tests each need, written once. Standard C++ only.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace sim {

// The file's bytes into `bytes`. False, leaving `bytes` as it was, when the path is not a regular
// file or cannot be opened.
bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

// The file's bytes, or "" when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& path);

// Writes `text` as the whole file, replacing it. False when it cannot be written.
bool WriteWholeFile(const std::filesystem::path& path, std::string_view text);

// The bytes as readable text: printable ASCII as it is, every other byte and the backslash as
// \xNN, so that no byte hides and the text reads back unambiguously.
std::string VisibleBytes(std::string_view bytes);

}  // namespace sim
