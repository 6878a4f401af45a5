#include "TempFolder.h"

#include "FolderNames.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::random_device random;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "relaydesk-test-";
    if (test) {
        // A parametrised test's name holds "/", which would make a folder in a folder.
        std::string testName = std::string(test->name()).substr(0, 40);
        std::replace(testName.begin(), testName.end(), '/', '-');
        name += testName + "-";
    }
    name += std::to_string(random());
    fs::path path = fs::temp_directory_path() / name;
    fs::create_directories(path);
    m_path = platform::FromFsPath(path);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Restore permissions a test may have taken away, so that removal succeeds.
    for (auto it = fs::recursive_directory_iterator(platform::ToFsPath(m_path), ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(platform::ToFsPath(m_path), ignored);
}

std::wstring NativePath(std::wstring_view path) {
    std::wstring native;
    for (wchar_t c : path)
        native += (c == L'/' || c == L'\\') ? platform::kPathSeparator : c;
    return native;
}

std::wstring TempFolder::operator/(std::wstring_view relative) const {
    return m_path + platform::kPathSeparator + NativePath(relative);
}

void TempFolder::WriteFile(std::wstring_view relative, std::string_view bytes) const {
    fs::path path = platform::ToFsPath(*this / relative);
    fs::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempFolder::ReadFile(std::wstring_view relative) const {
    return FileBytes(platform::ToFsPath(*this / relative));
}

void TempFolder::MakeFolder(std::wstring_view relative) const {
    fs::create_directories(platform::ToFsPath(*this / relative));
}

bool TempFolder::Exists(std::wstring_view relative) const {
    std::error_code ignored;
    return fs::exists(platform::ToFsPath(*this / relative), ignored);
}
