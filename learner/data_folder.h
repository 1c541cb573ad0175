// Where the learner's data lives: $XDG_DATA_HOME/quorvi/, or ~/.local/share/quorvi/ when
// XDG_DATA_HOME is unset, empty or not absolute.
#pragma once

#include <filesystem>
#include <string>

namespace quorvi::learner {

// The folder, from the environment; empty when neither XDG_DATA_HOME nor HOME is usable.
std::filesystem::path learnerDataFolder();

// The database file inside it (learner.db); empty when the folder is unknown.
std::filesystem::path learnerDatabasePath();

// Makes `folder` and its missing parents, each new one with mode 0700. Returns an empty
// string, or what went wrong.
std::string makePrivateFolder(const std::filesystem::path& folder);

}  // namespace quorvi::learner
