#pragma once
/// Deletes a folder in the background after moving it aside.
///
/// Freeing a gigabyte of pictures that are already on disk takes about as long as copying
/// them. A folder that is rebuilt at once under the same name (the work folder) is therefore
/// renamed out of the way and deleted on a thread of its own while the new one fills.

#include <string>
#include <thread>

class FileSystemResolver;

class DeferredDeletion {
public:
    /// Moves and deletes through the backends that `files` chooses.
    explicit DeferredDeletion(FileSystemResolver& files) : m_files(files) {}
    /// Waits for a deletion still running.
    ~DeferredDeletion();
    DeferredDeletion(const DeferredDeletion&) = delete;
    DeferredDeletion& operator=(const DeferredDeletion&) = delete;

    /// Removes what an interrupted deletion of `folder` left, then moves `folder` aside and
    /// starts deleting it. True when nothing is left under `folder`'s name; false when it
    /// could not be moved, in which case nothing was started.
    [[nodiscard]] bool Start(const std::wstring& folder);
    /// Waits for the deletion; false when some of the set-aside folder is left (the next
    /// `Start` on the same folder removes it).
    [[nodiscard]] bool Finish();

    /// The name a folder is set aside under while it is deleted.
    static std::wstring AsideName(const std::wstring& folder);

private:
    FileSystemResolver& m_files;
    std::jthread m_worker;
    bool m_bDeleted = true;
};
