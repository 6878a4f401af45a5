#pragma once
/// File, path and folder utilities used by every part of the controller. They keep no state,
/// show nothing and log nothing; each reports success as its result. Paths are built from a
/// folder without a trailing separator and a name (JoinPath). Paths of 260 characters or more
/// (the limit of the program's path buffers) are refused: the operation fails and changes
/// nothing. Operations that may touch a terminal's folders take the resolver that chooses the
/// backend of each path.

#include "fileutil/FsResult.h"

class FileSystemResolver;

#include <cstddef>
#include <string>
#include <vector>

/// Path buffers hold 260 characters including the terminator.
constexpr std::size_t kMaxPathLength = 260;

/// Results of DeleteMatching: an entry that matched could not be deleted; the path does not
/// fit a path buffer (nothing is deleted).
constexpr int kDeleteMatchingFailed = 0x78;
constexpr int kDeleteMatchingInvalidPath = 0x7C;

/// True when `path` does not fit a path buffer.
bool IsPathTooLong(const std::wstring& path);

/// Folder of the running program file, without trailing separator; empty when it cannot be
/// told or does not fit a path buffer.
std::wstring GetModuleFolder();

/// folder + separator + name.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);

/// True when a file or folder exists at `path` (no wildcards).
bool PathExists(FileSystemResolver& files, const std::wstring& path);
bool ItemExists(FileSystemResolver& files, const std::wstring& path);

/// Copies a file, overwriting an existing destination file; on any failure the destination
/// is as it was.
FsResult CopyOneFile(FileSystemResolver& files, const std::wstring& source,
                     const std::wstring& destination);

/// Creates `destination` inside its existing parent (never a missing parent: a copy into a
/// share that vanished must not rebuild its folders on this machine), then copies every entry
/// of `source` whose name does not begin with "." into it, folders recursively, files
/// overwriting; the destination's other entries stay. True when the source could be listed
/// and the destination made, whatever the single copies gave.
[[nodiscard]] bool CopyFolder(FileSystemResolver& files, const std::wstring& source,
                              const std::wstring& destination);

/// CopyFolder that succeeds only when every file and sub-folder was copied (a linked folder,
/// a link to nothing, a fifo or a socket is not, so it fails the copy): for copies whose gaps
/// would cost data. The first failure.
FsResult CopyFolderWhole(FileSystemResolver& files, const std::wstring& source,
                         const std::wstring& destination);

/// CopyFolderWhole that spares writing the bytes of files that already stand on the
/// destination's volume: a file whose twin (same path below one of `twinFolders`, same size
/// and modification time) exists gets a second name of the twin (a hard link) where the
/// volume allows it, else a copy. For twins that are about to lose their own names, so that
/// the file never has two names for long.
FsResult CopyFolderWholeFromTwins(FileSystemResolver& files, const std::wstring& source,
                                  const std::wstring& destination,
                                  const std::vector<std::wstring>& twinFolders);

/// CopyFolderWhole of `source`, except that a file which `overlay` holds at the same path
/// below it is taken from there, as in LinkFolder: for an overlay on the destination's volume
/// whose files would replace those of `source` anyway, sparing the copy of bytes about to be
/// thrown away.
FsResult CopyFolderWholeOverlaid(FileSystemResolver& files, const std::wstring& source,
                                 const std::wstring& overlay, const std::wstring& destination);

/// CopyFolder for folders whose files are never rewritten in place (the work folder): each
/// file gets a second name in the destination where the volume allows it (a hard link),
/// else a copy. Same result as CopyFolder, without writing the bytes again.
[[nodiscard]] bool LinkFolder(FileSystemResolver& files, const std::wstring& source,
                              const std::wstring& destination);
/// LinkFolder that succeeds only when every file was linked or copied.
FsResult LinkFolderWhole(FileSystemResolver& files, const std::wstring& source,
                         const std::wstring& destination);

/// Renames a file or folder; fails when the destination exists.
FsResult MoveItem(FileSystemResolver& files, const std::wstring& source,
                  const std::wstring& destination);

/// Deletes every file and folder (recursively) that matches the last part of `path`, which
/// may hold the wildcards * and ?. Succeeds unless something that matched could not be
/// deleted (the first such failure).
FsResult DeleteItem(FileSystemResolver& files, const std::wstring& path);

/// Like DeleteItem, but returns 0 on success or when nothing matches, kDeleteMatchingFailed
/// when a match could not be deleted, kDeleteMatchingInvalidPath for a path too long.
[[nodiscard]] int DeleteMatching(FileSystemResolver& files, const std::wstring& path);

/// Creates one folder inside an existing one; fails (kExists) when the name is taken.
FsResult MakeFolder(FileSystemResolver& files, const std::wstring& path);

/// Creates a folder and any missing parents; true when the folder exists afterwards. For the
/// program's own folders only: a terminal's folder is never made.
[[nodiscard]] bool MakeFolderPath(const std::wstring& path);

/// Splits at the last separator at position 1 or later; without one, folder and name are
/// left empty.
void SplitPath(const std::wstring& path, std::wstring& folder, std::wstring& name);
/// SplitPath's folder alone.
std::wstring FolderOfPath(const std::wstring& path);
/// SplitPath's name alone.
std::wstring NameOfPath(const std::wstring& path);

/// The text after the first dot of a name (searching from the first "." + separator when
/// the name holds one); empty when there is none. "a.b.c" gives "b.c".
std::wstring GetExtensionText(const std::wstring& name);

/// Replaces every occurrence of `find` (case-sensitive, left to right) in every line of an
/// UTF-8 text file (a line in another encoding keeps its bytes around the replacements), and
/// writes the lines back ending in CR LF. A missing or unreadable file is left alone; the
/// result tells why.
FsResult ReplaceInTextFile(FileSystemResolver& files, const std::wstring& path,
                           const std::wstring& find, const std::wstring& replacement);
