#pragma once
/// What a folder and its files hold, as tests compare them.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

using Names = std::vector<std::wstring>;

/// The names in a folder, sorted; empty when the folder cannot be read.
Names FolderNames(const std::wstring& folder);

/// How many files in a folder match a wildcard pattern (as the program matches them).
int CountFiles(const std::wstring& folder, const std::wstring& pattern);

/// The bytes of a file; empty when it cannot be read.
std::string FileBytes(const std::filesystem::path& file);

/// Every file and folder below a folder: relative path, bytes ("/" for a folder).
using Tree = std::map<std::string, std::string>;

/// What lies below `folder`; empty when it cannot be read.
Tree ReadTree(const std::wstring& folder);
