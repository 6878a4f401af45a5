#include "fileutil/DeferredDeletion.h"

#include "fileutil/FileUtil.h"

DeferredDeletion::~DeferredDeletion() {
    Finish();
}

std::wstring DeferredDeletion::AsideName(const std::wstring& folder) {
    return folder + L"~deleting";
}

bool DeferredDeletion::Start(const std::wstring& folder) {
    Finish();
    m_bDeleted = true;
    const std::wstring aside = AsideName(folder);
    if (ItemExists(aside))
        DeleteItem(aside);
    if (!ItemExists(folder))
        return true;
    if (!MoveItem(folder, aside))
        return false;
    m_worker = std::jthread([this, aside] { m_bDeleted = static_cast<bool>(DeleteItem(aside)); });
    return true;
}

bool DeferredDeletion::Finish() {
    if (m_worker.joinable())
        m_worker.join();
    return m_bDeleted;
}
