#pragma once
/// What a folder and its files hold, as tests compare them.

#include <filesystem>
#include <string>
#include <vector>

using Names = std::vector<std::wstring>;

/// The names in a folder, sorted; empty when the folder cannot be read.
Names FolderNames(const std::wstring& folder);

/// The bytes of a file; empty when it cannot be read.
std::string FileBytes(const std::filesystem::path& file);
