#include "fileutil/SmbCredentialTable.h"

#include "fileutil/SmbSharePath.h"

SmbCredentials SmbCredentialTable::For(const std::wstring& server,
                                       const std::wstring& share) const {
    return Find(server, share).value_or(SmbCredentials{});
}

std::optional<SmbCredentials> SmbCredentialTable::Find(const std::wstring& server,
                                                       const std::wstring& share) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_byShare.find(SmbShareKey(server, share));
    if (found == m_byShare.end())
        return std::nullopt;
    return found->second;
}

void SmbCredentialTable::Store(const std::wstring& server, const std::wstring& share,
                               SmbCredentials credentials) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_byShare[SmbShareKey(server, share)] = std::move(credentials);
}
