#pragma once
/// Finding an item of a local folder by name as Windows does, without regard to case, on
/// systems whose folders tell case apart.

#include <filesystem>

/// True when something, even a link to nothing, has exactly this name.
bool NameTaken(const std::filesystem::path& path);

/// The path of the item that `path` names: `path` itself when it exists (or when the system
/// compares names without case); otherwise each missing component that an entry of its folder
/// matches without regard to case (as NTFS compares names) is replaced by that entry's name.
/// Components that match nothing stay as given, so the result is also the path to create.
/// Lists a folder only where the exact name is missing.
std::filesystem::path FindNameIgnoringCase(const std::filesystem::path& path);
