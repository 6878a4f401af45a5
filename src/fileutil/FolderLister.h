#pragma once
/// Lists the entries of a folder that match a pattern, by type and to a depth.

#include <list>
#include <string>
#include <vector>

class FileSystemResolver;

/// Walks a folder: first its own matching entries in NTFS name order, then each sub-folder
/// in turn (descending into every sub-folder, whether or not its name matches). The current
/// depth belongs to the instance: listings on several threads each use their own instance.
/// Folders that cannot be listed, and paths that do not fit a path buffer, give no entries.
class FolderLister {
public:
    enum TypeMask { kFiles = 1, kFolders = 2, kDotEntries = 4 };
    enum ListMode { kNames = 0, kFullPaths = 1, kNamesWithoutExtension = 2, kCountOnly = 3 };

    /// Lists through the backends that `files` chooses.
    explicit FolderLister(FileSystemResolver& files) : m_files(files) {}
    virtual ~FolderLister() = default;

    /// Full paths of the matches; `maxDepth` 0 = only `folder`, k = k levels below it,
    /// negative = unlimited. Returns the number of matches; `target` holds exactly them.
    int ListToArray(std::vector<std::wstring>& target, const std::wstring& folder,
                    const std::wstring& pattern, int maxDepth, int typeMask);
    /// Names of the matches.
    int ListNamesToArray(std::vector<std::wstring>& target, const std::wstring& folder,
                         const std::wstring& pattern, int maxDepth, int typeMask);
    /// Any list mode but kCountOnly, into an array.
    int ListToArray(ListMode mode, std::vector<std::wstring>& target, const std::wstring& folder,
                    const std::wstring& pattern, int maxDepth, int typeMask);
    /// Full paths of the matches; the list is emptied first.
    int ListToList(std::list<std::wstring>& target, const std::wstring& folder,
                   const std::wstring& pattern, int maxDepth, int typeMask);
    /// The number of matches.
    int CountEntries(const std::wstring& folder, const std::wstring& pattern, int maxDepth,
                     int typeMask);

private:
    template <typename Store>
    int Run(const std::wstring& folder, const std::wstring& pattern, int maxDepth, int typeMask,
            Store store);
    template <typename Store> void Walk(const std::wstring& folder, Store& store);

    FileSystemResolver& m_files;
    std::wstring m_strPattern;
    int m_nMaxDepth = 0;
    int m_nTypeMask = 0;
    int m_nDepth = 0;
    int m_nCount = 0;
};
