#pragma once
/// A network path taken apart for the SMB client: "//server/share/folder/file" or
/// "\\server\share\folder\file", either separator anywhere.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct SmbSharePath {
    std::wstring server;
    std::wstring share;
    /// The names below the share's root, outermost first; empty for the root itself.
    std::vector<std::wstring> names;

    /// The client library's URL ("smb://server/share/a%20b"): every name percent-encoded
    /// from UTF-8, so that no name is read as URL syntax; Unicode names keep their form
    /// (composed or decomposed) as given. Never holds credentials.
    std::string Url() const;
    /// The same share, without regard to case.
    bool SameShare(const SmbSharePath& other) const;
    /// The share's root.
    SmbSharePath Root() const;
    /// The item `name` beside this one (this path's last name replaced).
    SmbSharePath Sibling(const std::wstring& name) const;
    /// The item `name` inside this folder.
    SmbSharePath Child(const std::wstring& name) const;
};

/// The parts of a network path; nothing for a path without server and share or with a "." or
/// ".." name.
std::optional<SmbSharePath> ParseSmbSharePath(std::wstring_view path);

/// The key under which a share's logon is kept: server and share without regard to case.
std::wstring SmbShareKey(std::wstring_view server, std::wstring_view share);
