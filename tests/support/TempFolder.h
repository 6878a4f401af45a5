#pragma once
/// A fresh temporary folder per test, removed with everything in it at the end.

#include <string>
#include <string_view>
#include <vector>

/// The path with every separator ('/' or '\\') the system's own.
std::wstring NativePath(std::wstring_view path);

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    /// The folder, without a trailing separator.
    const std::wstring& Path() const { return m_path; }
    /// Path() + separator + relative (relative may use '/').
    std::wstring operator/(std::wstring_view relative) const;

    /// Writes a file (creating its folders); the bytes are written as given.
    void WriteFile(std::wstring_view relative, std::string_view bytes) const;
    /// The bytes of a file; empty when it cannot be read.
    std::string ReadFile(std::wstring_view relative) const;
    void MakeFolder(std::wstring_view relative) const;
    /// Whether the item exists under any case where the file system ignores case.
    bool Exists(std::wstring_view relative) const;

private:
    std::wstring m_path;
};
