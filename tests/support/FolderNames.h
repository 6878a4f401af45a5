#pragma once
/// What a folder holds, as tests compare it.

#include <string>
#include <vector>

using Names = std::vector<std::wstring>;

/// The names in a folder, sorted; empty when the folder cannot be read.
Names FolderNames(const std::wstring& folder);
