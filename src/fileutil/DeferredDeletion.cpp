#include "fileutil/DeferredDeletion.h"

#include "fileutil/FileUtil.h"

DeferredDeletion::~DeferredDeletion() {
    // Only waits: what is left of the folder is removed by the next Start on it.
    (void)Finish();
}

std::wstring DeferredDeletion::AsideName(const std::wstring& folder) {
    return folder + L"~deleting";
}

bool DeferredDeletion::Start(const std::wstring& folder) {
    // What an earlier deletion left is removed here, or stops the move below.
    (void)Finish();
    m_bDeleted = true;
    const std::wstring aside = AsideName(folder);
    if (ItemExists(m_files, aside))
        (void)DeleteItem(m_files, aside);
    if (!ItemExists(m_files, folder))
        return true;
    if (!MoveItem(m_files, folder, aside))
        return false;
    m_worker =
        std::jthread([this, aside] { m_bDeleted = static_cast<bool>(DeleteItem(m_files, aside)); });
    return true;
}

bool DeferredDeletion::Finish() {
    if (m_worker.joinable())
        m_worker.join();
    return m_bDeleted;
}
