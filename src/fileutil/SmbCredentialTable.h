#pragma once
/// The logons of the shares connected so far, by server and share: like a network connection
/// of Windows, a logon stays until the program ends and serves every later operation on its
/// share. Shares without a logon are reached anonymously.

#include "fileutil/SmbContext.h"

#include <map>
#include <mutex>
#include <optional>
#include <string>

class SmbCredentialTable final : public SmbCredentialSource {
public:
    SmbCredentials For(const std::wstring& server, const std::wstring& share) const override;
    /// The logon kept for the share, if any.
    std::optional<SmbCredentials> Find(const std::wstring& server, const std::wstring& share) const;
    void Store(const std::wstring& server, const std::wstring& share, SmbCredentials credentials);

private:
    mutable std::mutex m_mutex;
    std::map<std::wstring, SmbCredentials> m_byShare;
};

/// The one logon to try, whatever the share: for checking credentials before keeping them.
class SmbTrialCredentials final : public SmbCredentialSource {
public:
    explicit SmbTrialCredentials(SmbCredentials credentials)
        : m_credentials(std::move(credentials)) {}
    SmbCredentials For(const std::wstring&, const std::wstring&) const override {
        return m_credentials;
    }

private:
    SmbCredentials m_credentials;
};
