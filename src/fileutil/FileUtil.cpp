#include "fileutil/FileUtil.h"

#include "fileutil/ConcurrentBatch.h"
#include "fileutil/FileSystemResolver.h"
#include "fileutil/Wildcard.h"
#include "platform/FileSystemCalls.h"
#include "platform/ModulePath.h"
#include "platform/TextEncoding.h"

#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace {

// Text files edited in place are templates of a few kilobytes; this only bounds memory.
constexpr std::size_t kMaxTextFileBytes = std::size_t{256} * 1024 * 1024;

struct DeleteOutcome {
    int matched = 0;
    int failed = 0;
    FsResult firstFailure = true;
};

/// The first failure among steps that run side by side.
class FirstFailureOfMany {
public:
    void Note(const FsResult& result) {
        if (result)
            return;
        std::lock_guard lock(m_mutex);
        if (m_result)
            m_result = result;
    }
    FsResult Result() const {
        std::lock_guard lock(m_mutex);
        return m_result;
    }

private:
    mutable std::mutex m_mutex;
    FsResult m_result = true;
};

// Deletes every entry that matches the last part of `path` (folders with their content).
DeleteOutcome DeleteMatches(FileSystemResolver& files, const std::wstring& path) {
    DeleteOutcome outcome;
    std::wstring folder;
    std::wstring pattern;
    SplitPath(path, folder, pattern);
    if (folder.empty() || pattern.empty())
        return outcome;
    FileSystem& fileSystem = files.For(path);
    std::vector<std::wstring> targets;
    FsResult looked = true;
    if (HasWildcards(pattern)) {
        std::vector<FolderEntry> entries;
        looked = fileSystem.ListFolder(folder, entries);
        for (const FolderEntry& entry : entries) {
            if (MatchesWildcard(entry.name, pattern))
                targets.push_back(JoinPath(folder, entry.name));
        }
    } else {
        ItemInfo info;
        looked = fileSystem.GetItemInfo(path, info);
        if (looked)
            targets.push_back(path);
    }
    // Where nothing is, nothing matches; a folder that cannot be read may hold matches.
    if (!looked && looked.Error() != FsError::kNotFound) {
        outcome.failed = 1;
        outcome.firstFailure = looked;
    }
    for (const std::wstring& target : targets) {
        ++outcome.matched;
        const FsResult deleted = fileSystem.DeleteTree(target);
        if (!deleted) {
            ++outcome.failed;
            outcome.firstFailure = FirstFailure(outcome.firstFailure, deleted);
        }
    }
    return outcome;
}

/// `text` with every occurrence of `find` replaced, left to right.
template <typename Text>
Text ReplaceEvery(const Text& text, const Text& find, const Text& replacement) {
    Text result;
    std::size_t start = 0;
    for (std::size_t hit; (hit = text.find(find, start)) != Text::npos; start = hit + find.size())
        result.append(text, start, hit - start).append(replacement);
    result.append(text, start, Text::npos);
    return result;
}

// Replaces in one line of a text file. Text files are UTF-8 on every platform: a UTF-8 line
// is compared as characters, a line in another encoding as bytes, so that it keeps its bytes.
std::string ReplaceInLine(const std::string& line, const std::wstring& find,
                          const std::wstring& replacement) {
    if (platform::IsValidUtf8(line))
        return platform::WideToUtf8(ReplaceEvery(platform::Utf8ToWide(line), find, replacement));
    return ReplaceEvery(line, platform::WideToUtf8(find), platform::WideToUtf8(replacement));
}

struct FileCopyJob {
    std::wstring from;
    std::wstring to;
};

struct FolderCopyPlan {
    std::vector<FileCopyJob> files;
    /// Why a sub-folder was left out (not listable, path too long, a linked folder).
    FsResult foldersLeftOut = true;
};

// Makes one folder of a copy inside its parent, which the copy made or was handed: never a
// missing parent, so that a copy into a vanished share cannot rebuild its folders locally.
FsResult MakeCopyFolder(FileSystemResolver& files, const std::wstring& folder) {
    FileSystem& fileSystem = files.For(folder);
    const FsResult made = fileSystem.MakeFolder(folder);
    ItemInfo info;
    if (made ||
        (made.Error() == FsError::kExists && fileSystem.GetItemInfo(folder, info) && info.isFolder))
        return true;
    return made;
}

// Makes the destination's folders and lists the files to copy into them; the failure when
// `source` cannot be listed or `destination` cannot be made.
FsResult CollectFolderCopy(FileSystemResolver& files, const std::wstring& source,
                           const std::wstring& destination, FolderCopyPlan& plan) {
    std::vector<FolderEntry> entries;
    if (const FsResult listed = files.For(source).ListFolder(source, entries); !listed)
        return listed;
    if (const FsResult made = MakeCopyFolder(files, destination); !made)
        return made;
    for (const FolderEntry& entry : entries) {
        if (entry.name.starts_with(L'.'))
            continue;
        std::wstring from = JoinPath(source, entry.name);
        std::wstring to = JoinPath(destination, entry.name);
        if (!entry.isFolder) {
            plan.files.push_back({std::move(from), std::move(to)});
        } else if (entry.isLink) {
            // Linked folders are not followed (a link back up the tree would never end), and
            // what they hold is not copied: the copy is not whole.
            plan.foldersLeftOut = FirstFailure(plan.foldersLeftOut, FsError::kFailed);
        } else if (IsPathTooLong(from) || IsPathTooLong(to)) {
            plan.foldersLeftOut = FirstFailure(plan.foldersLeftOut, FsError::kTooLong);
        } else {
            plan.foldersLeftOut =
                FirstFailure(plan.foldersLeftOut, CollectFolderCopy(files, from, to, plan));
        }
    }
    return true;
}

struct FolderCopyOutcome {
    /// Whether the source could be listed and the destination made.
    FsResult started = true;
    /// Whether every file and sub-folder was copied; the first failure otherwise.
    FsResult whole = true;
};

// Copies a whole tree, the files side by side with `copyFile`.
FolderCopyOutcome CopyFolderFiles(FileSystemResolver& files, const std::wstring& source,
                                  const std::wstring& destination,
                                  const std::function<FsResult(const FileCopyJob&)>& copyFile) {
    FolderCopyOutcome outcome;
    if (IsPathTooLong(source) || IsPathTooLong(destination)) {
        outcome.started = outcome.whole = FsError::kTooLong;
        return outcome;
    }
    FolderCopyPlan plan;
    outcome.started = CollectFolderCopy(files, source, destination, plan);
    if (!outcome.started) {
        outcome.whole = outcome.started;
        return outcome;
    }
    FirstFailureOfMany failure;
    RunConcurrently(plan.files.size(), [&plan, &copyFile, &failure](std::size_t file) {
        const FsResult copied = copyFile(plan.files[file]);
        failure.Note(copied);
        return static_cast<bool>(copied);
    });
    outcome.whole = FirstFailure(plan.foldersLeftOut, failure.Result());
    return outcome;
}

// The path that `job`'s destination file has below `destination`, below `folder` instead.
std::wstring SamePathBelow(const std::wstring& folder, const FileCopyJob& job,
                           const std::wstring& destination) {
    return folder + job.to.substr(destination.size());
}

FsResult CopyJobFile(FileSystemResolver& files, const FileCopyJob& job) {
    return CopyOneFile(files, job.from, job.to);
}

// Gives `copy.to` a second name of `linkFrom` where one backend serves both names and the
// volume keeps links, else makes `copy`.
FsResult LinkOrCopy(FileSystemResolver& files, const std::wstring& linkFrom,
                    const FileCopyJob& copy) {
    FileSystem& fileSystem = files.For(copy.to);
    if (&files.For(linkFrom) == &fileSystem && fileSystem.LinkFile(linkFrom, copy.to))
        return true;
    return CopyJobFile(files, copy);
}

FsResult LinkOrCopyFile(FileSystemResolver& files, const FileCopyJob& job) {
    return LinkOrCopy(files, job.from, job);
}

auto CopyEach(FileSystemResolver& files) {
    return [&files](const FileCopyJob& job) { return CopyJobFile(files, job); };
}

auto LinkOrCopyEach(FileSystemResolver& files) {
    return [&files](const FileCopyJob& job) { return LinkOrCopyFile(files, job); };
}

// A regular file's size and modification time; nothing for a folder or a missing item.
std::optional<ItemInfo> FileInfo(FileSystemResolver& files, const std::wstring& path) {
    ItemInfo info;
    if (IsPathTooLong(path) || !files.For(path).GetItemInfo(path, info) || info.isFolder)
        return std::nullopt;
    return info;
}

} // namespace

bool IsPathTooLong(const std::wstring& path) {
    return path.size() >= kMaxPathLength;
}

std::wstring GetModuleFolder() {
    const std::wstring program = platform::GetModuleFilePath();
    if (IsPathTooLong(program))
        return {};
    const std::size_t last = program.rfind(platform::kPathSeparator);
    return last == std::wstring::npos ? std::wstring() : program.substr(0, last);
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    std::wstring path = folder;
    path += platform::kPathSeparator;
    path += name;
    return path;
}

bool PathExists(FileSystemResolver& files, const std::wstring& path) {
    ItemInfo info;
    return !path.empty() && !IsPathTooLong(path) && files.For(path).GetItemInfo(path, info);
}

bool ItemExists(FileSystemResolver& files, const std::wstring& path) {
    return PathExists(files, path);
}

FsResult CopyOneFile(FileSystemResolver& files, const std::wstring& source,
                     const std::wstring& destination) {
    if (IsPathTooLong(source) || IsPathTooLong(destination))
        return FsError::kTooLong;
    return files.ForCopy(source, destination).CopyFile(source, destination);
}

bool CopyFolder(FileSystemResolver& files, const std::wstring& source,
                const std::wstring& destination) {
    return static_cast<bool>(CopyFolderFiles(files, source, destination, CopyEach(files)).started);
}

FsResult CopyFolderWhole(FileSystemResolver& files, const std::wstring& source,
                         const std::wstring& destination) {
    return CopyFolderFiles(files, source, destination, CopyEach(files)).whole;
}

FsResult CopyFolderWholeFromTwins(FileSystemResolver& files, const std::wstring& source,
                                  const std::wstring& destination,
                                  const std::vector<std::wstring>& twinFolders) {
    const auto linkTwinOrCopy = [&files, &destination, &twinFolders](const FileCopyJob& job) {
        const std::optional<ItemInfo> file = FileInfo(files, job.from);
        if (!file || file->modifiedTicks == 0)
            return CopyJobFile(files, job);
        // Same size and modification time: the one was copied from the other (copies keep
        // the time) and neither has been written since (a write sets it).
        for (const std::wstring& folder : twinFolders) {
            const std::wstring twin = SamePathBelow(folder, job, destination);
            const std::optional<ItemInfo> candidate = FileInfo(files, twin);
            if (candidate && candidate->size == file->size &&
                candidate->modifiedTicks == file->modifiedTicks)
                return LinkOrCopy(files, twin, job);
        }
        return CopyJobFile(files, job);
    };
    return CopyFolderFiles(files, source, destination, linkTwinOrCopy).whole;
}

FsResult CopyFolderWholeOverlaid(FileSystemResolver& files, const std::wstring& source,
                                 const std::wstring& overlay, const std::wstring& destination) {
    const auto copyOrTakeOverlay = [&files, &destination, &overlay](const FileCopyJob& job) {
        const std::wstring over = SamePathBelow(overlay, job, destination);
        return FileInfo(files, over) ? LinkOrCopyFile(files, {over, job.to})
                                     : CopyJobFile(files, job);
    };
    return CopyFolderFiles(files, source, destination, copyOrTakeOverlay).whole;
}

FsResult LinkFolderWhole(FileSystemResolver& files, const std::wstring& source,
                         const std::wstring& destination) {
    return CopyFolderFiles(files, source, destination, LinkOrCopyEach(files)).whole;
}

bool LinkFolder(FileSystemResolver& files, const std::wstring& source,
                const std::wstring& destination) {
    return static_cast<bool>(
        CopyFolderFiles(files, source, destination, LinkOrCopyEach(files)).started);
}

FsResult MoveItem(FileSystemResolver& files, const std::wstring& source,
                  const std::wstring& destination) {
    if (IsPathTooLong(source) || IsPathTooLong(destination))
        return FsError::kTooLong;
    return files.For(source).RenameNoReplace(source, destination);
}

FsResult DeleteItem(FileSystemResolver& files, const std::wstring& path) {
    if (IsPathTooLong(path))
        return FsError::kTooLong;
    return DeleteMatches(files, path).firstFailure;
}

int DeleteMatching(FileSystemResolver& files, const std::wstring& path) {
    if (IsPathTooLong(path))
        return kDeleteMatchingInvalidPath;
    const DeleteOutcome outcome = DeleteMatches(files, path);
    return outcome.failed == 0 ? 0 : kDeleteMatchingFailed;
}

FsResult MakeFolder(FileSystemResolver& files, const std::wstring& path) {
    if (path.empty() || IsPathTooLong(path))
        return FsError::kTooLong;
    return files.For(path).MakeFolder(path);
}

bool MakeFolderPath(const std::wstring& path) {
    if (path.empty() || IsPathTooLong(path))
        return false;
    FileSystem& fileSystem = LocalFolders().For(path);
    ItemInfo info;
    if (fileSystem.GetItemInfo(path, info))
        return info.isFolder;
    std::wstring parent;
    std::wstring name;
    SplitPath(path, parent, name);
    // Above a share's own folders there is nothing this program may create.
    if (!parent.empty() && !IsNetworkPath(path) && !MakeFolderPath(parent))
        return false;
    // Another thread may have made it in the meantime: what counts is that it exists.
    return fileSystem.MakeFolder(path) || (fileSystem.GetItemInfo(path, info) && info.isFolder);
}

void SplitPath(const std::wstring& path, std::wstring& folder, std::wstring& name) {
    const std::size_t last = path.find_last_of(platform::kPathSeparators);
    if (last == std::wstring::npos || last == 0) {
        folder.clear();
        name.clear();
        return;
    }
    folder = path.substr(0, last);
    name = path.substr(last + 1);
}

std::wstring FolderOfPath(const std::wstring& path) {
    std::wstring folder, name;
    SplitPath(path, folder, name);
    return folder;
}

std::wstring NameOfPath(const std::wstring& path) {
    std::wstring folder, name;
    SplitPath(path, folder, name);
    return name;
}

std::wstring GetExtensionText(const std::wstring& name) {
    const std::wstring dotFolder = std::wstring(L".") + platform::kPathSeparator;
    const std::size_t folderDot = name.find(dotFolder);
    const std::size_t from = folderDot == std::wstring::npos ? 0 : folderDot + 1;
    const std::size_t dot = name.find(L'.', from);
    return dot == std::wstring::npos ? std::wstring() : name.substr(dot + 1);
}

FsResult ReplaceInTextFile(FileSystemResolver& files, const std::wstring& path,
                           const std::wstring& find, const std::wstring& replacement) {
    if (IsPathTooLong(path))
        return FsError::kTooLong;
    FileSystem& fileSystem = files.For(path);
    std::string bytes;
    if (const FsResult read = fileSystem.ReadFile(path, bytes, kMaxTextFileBytes); !read)
        return read;
    std::string result;
    result.reserve(bytes.size() + bytes.size() / 8);
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const bool terminated = end != std::string::npos;
        if (!terminated)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        // Text mode reads CR LF as a line end; a lone CR is part of the line.
        if (terminated && !line.empty() && line.back() == '\r')
            line.pop_back();
        if (!find.empty())
            line = ReplaceInLine(line, find, replacement);
        result += line;
        result += "\r\n";
        start = end + 1;
    }
    return fileSystem.WriteFileAtomically(path, result);
}
