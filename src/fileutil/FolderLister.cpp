#include "fileutil/FolderLister.h"

#include "fileutil/FileSystemResolver.h"
#include "fileutil/FileUtil.h"
#include "fileutil/Wildcard.h"
#include "platform/FileSystemCalls.h"

namespace {

std::wstring EntryText(FolderLister::ListMode mode, const std::wstring& folder,
                       const std::wstring& name) {
    switch (mode) {
    case FolderLister::kFullPaths:
        return JoinPath(folder, name);
    case FolderLister::kNamesWithoutExtension: {
        const std::size_t dot = name.rfind(L'.');
        return dot == std::wstring::npos ? name : name.substr(0, dot);
    }
    default:
        return name;
    }
}

} // namespace

int FolderLister::ListToArray(std::vector<std::wstring>& target, const std::wstring& folder,
                              const std::wstring& pattern, int maxDepth, int typeMask) {
    return ListToArray(kFullPaths, target, folder, pattern, maxDepth, typeMask);
}

int FolderLister::ListNamesToArray(std::vector<std::wstring>& target, const std::wstring& folder,
                                   const std::wstring& pattern, int maxDepth, int typeMask) {
    return ListToArray(kNames, target, folder, pattern, maxDepth, typeMask);
}

int FolderLister::ListToArray(ListMode mode, std::vector<std::wstring>& target,
                              const std::wstring& folder, const std::wstring& pattern, int maxDepth,
                              int typeMask) {
    target.clear();
    if (mode == kCountOnly)
        return CountEntries(folder, pattern, maxDepth, typeMask);
    return Run(folder, pattern, maxDepth, typeMask,
               [&](const std::wstring& parent, const std::wstring& name) {
                   target.push_back(EntryText(mode, parent, name));
               });
}

int FolderLister::ListToList(std::list<std::wstring>& target, const std::wstring& folder,
                             const std::wstring& pattern, int maxDepth, int typeMask) {
    target.clear();
    return Run(folder, pattern, maxDepth, typeMask,
               [&](const std::wstring& parent, const std::wstring& name) {
                   target.push_back(JoinPath(parent, name));
               });
}

int FolderLister::CountEntries(const std::wstring& folder, const std::wstring& pattern,
                               int maxDepth, int typeMask) {
    return Run(folder, pattern, maxDepth, typeMask,
               [](const std::wstring&, const std::wstring&) {});
}

template <typename Store>
int FolderLister::Run(const std::wstring& folder, const std::wstring& pattern, int maxDepth,
                      int typeMask, Store store) {
    m_strPattern = pattern;
    m_nMaxDepth = maxDepth;
    m_nTypeMask = typeMask;
    m_nDepth = 0;
    m_nCount = 0;
    std::wstring top = folder;
    while (top.size() > 1 && top.back() == platform::kPathSeparator)
        top.pop_back();
    Walk(top, store);
    return m_nCount;
}

template <typename Store> void FolderLister::Walk(const std::wstring& folder, Store& store) {
    if (m_nMaxDepth >= 0 && m_nDepth > m_nMaxDepth)
        return;
    // The enumeration pattern must fit a path buffer, as it must for the system's own search.
    if (IsPathTooLong(JoinPath(folder, m_strPattern)))
        return;
    std::vector<FolderEntry> entries;
    if (!m_files.For(folder).ListFolder(folder, entries))
        return;
    if (m_nTypeMask & kDotEntries) {
        for (const wchar_t* dot : {L".", L".."}) {
            if (MatchesWildcard(dot, m_strPattern)) {
                store(folder, dot);
                ++m_nCount;
            }
        }
    }
    for (const FolderEntry& entry : entries) {
        const int type = entry.isFolder ? kFolders : kFiles;
        if ((m_nTypeMask & type) && MatchesWildcard(entry.name, m_strPattern)) {
            store(folder, entry.name);
            ++m_nCount;
        }
    }
    for (const FolderEntry& entry : entries) {
        // Linked folders are listed but not entered, so a link cycle cannot trap the walk.
        if (!entry.isFolder || entry.isLink)
            continue;
        ++m_nDepth;
        Walk(JoinPath(folder, entry.name), store);
        --m_nDepth;
    }
}
