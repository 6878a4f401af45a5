#include "fileutil/SmbFileSystem.h"

#include "fileutil/NameCase.h"

#include "platform/FileSystemCalls.h"
#include "platform/NetworkShare.h"
#include "platform/TextEncoding.h"

#include "FolderNames.h"
#include "SambaServer.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::wstring Wide(const char* text) {
    return platform::Utf8ToWide(text);
}

// Bytes that show any reordering, truncation or mix-up of a copy.
std::string Pattern(std::size_t size, char seed) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + static_cast<std::size_t>(seed)) % 251);
    return bytes;
}

// Names of temporary files left behind anywhere below `folder`.
std::vector<std::string> LeftoverTemporaries(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.path().filename().string().starts_with(".rdtmp-"))
            found.push_back(entry.path().string());
    return found;
}

class SmbFileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string reason = SambaServer::Unavailable(); !reason.empty())
            GTEST_SKIP() << reason;
        m_server = std::make_unique<SambaServer>(m_fileSizeLimit);
        ASSERT_EQ(m_server->Error(), "");
        m_backend = std::make_unique<SmbFileSystem>(m_server->Port());
    }

    std::wstring ShareA() const { return m_server->SharePath("a"); }
    std::wstring Guest() const { return m_server->SharePath(SambaServer::kGuestShare); }
    int LogOnA(const std::wstring& folder) {
        return m_backend->LogOn(folder, Wide(SambaServer::kUserA.name),
                                Wide(SambaServer::kUserA.password));
    }

    std::uint64_t m_fileSizeLimit = 0; ///< of every file the server writes; 0: none
    std::unique_ptr<SambaServer> m_server;
    std::unique_ptr<SmbFileSystem> m_backend;
};

/// A server whose files may not grow beyond 1 MB, as on a full share.
class SmbFileSystemFull : public SmbFileSystemTest {
protected:
    SmbFileSystemFull() { m_fileSizeLimit = 1024 * 1024; }
};

} // namespace

TEST_F(SmbFileSystemTest, LogOnGivesTheNetworkErrorOfEachRefusal) {
    const std::wstring userA = Wide(SambaServer::kUserA.name);
    const std::wstring passwordA = Wide(SambaServer::kUserA.password);
    struct Case {
        std::wstring folder, user, password;
        int expected;
    } const cases[] = {
        {ShareA() + L"/in", userA, passwordA, platform::kNetworkOk},
        {L"\\\\127.0.0.1\\A\\in", userA, passwordA, platform::kNetworkOk},
        {ShareA(), userA, L"wrong", platform::kNetworkInvalidPassword},
        {ShareA(), L"rdsmb-nobody", passwordA, platform::kNetworkInvalidPassword},
        {ShareA(), L"WORKGROUP\\" + userA, passwordA, platform::kNetworkOk},
        {m_server->SharePath("b"), userA, passwordA, platform::kNetworkAccessDenied},
        {m_server->SharePath("nosuch"), userA, passwordA, platform::kNetworkBadNetName},
        {L"//relaydesk-no-such-host.invalid/a", userA, passwordA, platform::kNetworkBadNetName},
        {L"//127.0.0.1", userA, passwordA, platform::kNetworkBadPathOrNoNetwork},
        {Guest(), L"", L"", platform::kNetworkOk},
    };
    for (const Case& c : cases) {
        SmbFileSystem fresh(m_server->Port());
        EXPECT_EQ(fresh.LogOn(c.folder, c.user, c.password), c.expected)
            << platform::WideToUtf8(c.folder + L" as " + c.user);
    }
    // An anonymous logon is refused where the share admits named users only.
    SmbFileSystem anonymous(m_server->Port());
    EXPECT_EQ(anonymous.LogOn(ShareA(), L"", L""), platform::kNetworkAccessDenied);
    m_server->Stop();
    EXPECT_EQ(anonymous.LogOn(Guest(), L"", L""), platform::kNetworkBadPathOrNoNetwork);
}

TEST_F(SmbFileSystemTest, LogOnIsKeptForItsShareAndAnonymousFollowsARefusedOne) {
    std::vector<FolderEntry> entries;
    EXPECT_EQ(m_backend->ListFolder(ShareA(), entries).Error(), FsError::kNoAccess);
    ASSERT_EQ(LogOnA(ShareA() + L"/in"), platform::kNetworkOk);
    EXPECT_TRUE(m_backend->MakeFolder(ShareA() + L"/in"));
    EXPECT_TRUE(fs::is_directory(m_server->ShareFolder("a") / "in"));

    // A refused logon leaves the share's connection; a logon without credentials then uses it.
    EXPECT_EQ(m_backend->LogOn(ShareA(), Wide(SambaServer::kUserA.name), L"wrong"),
              platform::kNetworkInvalidPassword);
    EXPECT_EQ(m_backend->LogOn(ShareA(), L"", L""), platform::kNetworkOk);
    EXPECT_TRUE(m_backend->ListFolder(ShareA(), entries));

    // Another share of the same server is not reached with that logon.
    EXPECT_EQ(m_backend->ListFolder(m_server->SharePath("b"), entries).Error(), FsError::kNoAccess);
    EXPECT_EQ(m_backend->LogOn(Guest(), Wide(SambaServer::kUserB.name), L"wrong"),
              platform::kNetworkInvalidPassword);
    EXPECT_EQ(m_backend->LogOn(Guest(), L"", L""), platform::kNetworkOk);
    EXPECT_TRUE(m_backend->WriteFileAtomically(Guest() + L"/job.txt", "job"));
    EXPECT_EQ(FileBytes(m_server->ShareFolder(SambaServer::kGuestShare) / "job.txt"), "job");
}

TEST_F(SmbFileSystemTest, ServerThatStopsIsUnreachableUntilItComesBack) {
    ASSERT_EQ(LogOnA(ShareA()), platform::kNetworkOk);
    ASSERT_TRUE(m_backend->WriteFileAtomically(ShareA() + L"/order.ini", "1"));
    m_server->Stop();
    std::vector<FolderEntry> entries;
    ItemInfo info;
    std::string bytes;
    std::uint64_t freeBytes = 0;
    EXPECT_EQ(m_backend->ListFolder(ShareA(), entries).Error(), FsError::kUnreachable);
    EXPECT_EQ(m_backend->GetItemInfo(ShareA() + L"/order.ini", info).Error(),
              FsError::kUnreachable);
    EXPECT_EQ(m_backend->ReadFile(ShareA() + L"/order.ini", bytes, 100).Error(),
              FsError::kUnreachable);
    EXPECT_EQ(m_backend->DeleteTree(ShareA() + L"/order.ini").Error(), FsError::kUnreachable);
    EXPECT_EQ(m_backend->GetFreeBytes(ShareA(), freeBytes).Error(), FsError::kUnreachable);
    EXPECT_EQ(m_backend->Flush(ShareA()).Error(), FsError::kUnreachable);

    ASSERT_TRUE(m_server->Start()) << m_server->Error();
    EXPECT_TRUE(m_backend->ReadFile(ShareA() + L"/order.ini", bytes, 100));
    EXPECT_EQ(bytes, "1");
}

TEST_F(SmbFileSystemTest, AbsentShareAndBadPathsAreErrors) {
    const std::wstring absent = m_server->SharePath("gone");
    std::vector<FolderEntry> entries;
    ItemInfo info;
    EXPECT_EQ(m_backend->ListFolder(absent + L"/in", entries).Error(), FsError::kUnreachable);
    EXPECT_EQ(m_backend->GetItemInfo(absent + L"/in", info).Error(), FsError::kUnreachable);
    EXPECT_EQ(m_backend->MakeFolder(absent + L"/in").Error(), FsError::kUnreachable);
    EXPECT_EQ(m_backend->WriteFileAtomically(absent + L"/a.ini", "x").Error(),
              FsError::kUnreachable);
    EXPECT_EQ(m_backend->ListFolder(L"//127.0.0.1", entries).Error(), FsError::kNotFound);
    EXPECT_EQ(m_backend->GetItemInfo(Guest() + L"/../a", info).Error(), FsError::kNotFound);
    // Missing items of a reachable share are only missing.
    EXPECT_EQ(m_backend->GetItemInfo(Guest() + L"/none/x", info).Error(), FsError::kNotFound);
    EXPECT_TRUE(m_backend->DeleteTree(Guest() + L"/none"));
}

TEST_F(SmbFileSystemTest, RenameNeverReplacesAnyNameWhateverItsCase) {
    const fs::path local = m_server->ShareFolder(SambaServer::kGuestShare);
    const std::wstring share = Guest();
    ASSERT_TRUE(m_backend->WriteFileAtomically(share + L"/r.txt", "source"));
    ASSERT_TRUE(m_backend->WriteFileAtomically(share + L"/Taken.txt", "taken"));
    ASSERT_TRUE(m_backend->MakeFolder(share + L"/Folder"));
    ASSERT_TRUE(m_backend->MakeFolder(share + L"/Folder/inner"));
    for (const wchar_t* taken : {L"/Taken.txt", L"/taken.TXT", L"/Folder", L"/FOLDER"}) {
        EXPECT_EQ(m_backend->RenameNoReplace(share + L"/r.txt", share + taken).Error(),
                  FsError::kExists)
            << platform::WideToUtf8(taken);
    }
    EXPECT_EQ(m_backend->RenameNoReplace(share + L"/Folder", share + L"/taken.txt").Error(),
              FsError::kExists);
    EXPECT_EQ(FileBytes(local / "r.txt"), "source");
    EXPECT_EQ(FileBytes(local / "Taken.txt"), "taken");
    EXPECT_TRUE(fs::is_directory(local / "Folder" / "inner"));

    // A name may change its own case; a missing source or target folder fails.
    EXPECT_TRUE(m_backend->RenameNoReplace(share + L"/folder", share + L"/FOLDER"));
    EXPECT_TRUE(fs::is_directory(local / "FOLDER" / "inner"));
    EXPECT_EQ(m_backend->RenameNoReplace(share + L"/none", share + L"/x").Error(),
              FsError::kNotFound);
    EXPECT_EQ(m_backend->RenameNoReplace(share + L"/r.txt", share + L"/none/x").Error(),
              FsError::kNotFound);
    EXPECT_TRUE(m_backend->RenameNoReplace(share + L"/r.txt", share + L"/FOLDER/e.txt"));
    EXPECT_EQ(FileBytes(local / "FOLDER" / "e.txt"), "source");
}

TEST_F(SmbFileSystemTest, CopiesInEveryDirectionKeepBytesAndTime) {
    ASSERT_EQ(LogOnA(ShareA()), platform::kNetworkOk);
    TempFolder work;
    const std::string bytes = Pattern(9 * 1024 * 1024 + 17, 3);
    work.WriteFile(L"src.jpg", bytes);
    const fs::path shareA = m_server->ShareFolder("a");
    ASSERT_TRUE(m_backend->MakeFolder(ShareA() + L"/in"));
    ASSERT_TRUE(m_backend->WriteFileAtomically(ShareA() + L"/in/OLD.JPG", "an older copy"));

    // Local to share (replacing a file of the name in another case), within the share, between
    // shares, and back to a local folder.
    ASSERT_TRUE(m_backend->CopyFile(work / L"src.jpg", ShareA() + L"/in/old.jpg"));
    ASSERT_TRUE(m_backend->CopyFile(ShareA() + L"/in/old.jpg", ShareA() + L"/in/same.jpg"));
    ASSERT_TRUE(m_backend->CopyFile(ShareA() + L"/in/same.jpg", Guest() + L"/other.jpg"));
    ASSERT_TRUE(m_backend->CopyFile(Guest() + L"/other.jpg", work / L"back.jpg"));
    std::vector<FolderEntry> entries;
    ASSERT_TRUE(m_backend->ListFolder(ShareA() + L"/in", entries));
    ASSERT_EQ(entries.size(), 2u); // the older file is replaced, not joined
    EXPECT_TRUE(NamesEqual(entries[0].name, L"old.jpg"));
    EXPECT_EQ(FileBytes(shareA / "in" / platform::WideToUtf8(entries[0].name)), bytes);
    EXPECT_EQ(FileBytes(shareA / "in" / "same.jpg"), bytes);
    EXPECT_EQ(FileBytes(m_server->ShareFolder(SambaServer::kGuestShare) / "other.jpg"), bytes);
    EXPECT_EQ(work.ReadFile(L"back.jpg"), bytes);

    // Copies keep the modification time, as twin detection expects (the anonymous user of
    // the guest share may not set times).
    ItemInfo first, second;
    ASSERT_TRUE(m_backend->GetItemInfo(ShareA() + L"/in/old.jpg", first));
    ASSERT_TRUE(m_backend->GetItemInfo(ShareA() + L"/in/same.jpg", second));
    EXPECT_EQ(first.size, bytes.size());
    EXPECT_NE(first.modifiedTicks, 0);
    EXPECT_EQ(second.modifiedTicks, first.modifiedTicks);
    EXPECT_EQ(fs::last_write_time(platform::ToFsPath(work / L"back.jpg")),
              fs::last_write_time(shareA / "in" / "same.jpg"));

    // A folder of the name is never replaced; a missing source changes nothing.
    ASSERT_TRUE(m_backend->MakeFolder(ShareA() + L"/in/dir.jpg"));
    EXPECT_EQ(m_backend->CopyFile(work / L"src.jpg", ShareA() + L"/in/dir.jpg").Error(),
              FsError::kExists);
    EXPECT_EQ(m_backend->CopyFile(ShareA() + L"/in/none.jpg", work / L"none.jpg").Error(),
              FsError::kNotFound);
    EXPECT_FALSE(work.Exists(L"none.jpg"));
    EXPECT_TRUE(LeftoverTemporaries(shareA).empty());
    EXPECT_TRUE(LeftoverTemporaries(platform::ToFsPath(work.Path())).empty());
}

TEST_F(SmbFileSystemTest, UnicodeNamesRoundTripInLocalOrder) {
    const std::wstring folder = Guest() + L"/注文 フォルダ";
    ASSERT_TRUE(m_backend->MakeFolder(folder));
    EXPECT_EQ(m_backend->MakeFolder(Guest() + L"/注文 フォルダ").Error(), FsError::kExists);
    const std::wstring names[] = {
        L"写真 01.JPG", L"caf\u00e9.txt",   L"cafe\u0301.txt", L"b%20#1;@+,=&'.txt", L"a", L"B",
        L"_x",          L"\u30d5\u309a.ini"};
    for (const std::wstring& name : names)
        ASSERT_TRUE(
            m_backend->WriteFileAtomically(folder + L"/" + name, platform::WideToUtf8(name)))
            << platform::WideToUtf8(name);
    ASSERT_TRUE(m_backend->MakeFolder(folder + L"/Sub"));

    std::vector<FolderEntry> overShare, onDisk;
    ASSERT_TRUE(m_backend->ListFolder(folder, overShare));
    const fs::path local = m_server->ShareFolder(SambaServer::kGuestShare) / "注文 フォルダ";
    ASSERT_TRUE(LocalFileSystem().ListFolder(platform::FromFsPath(local), onDisk));
    ASSERT_EQ(overShare.size(), std::size(names) + 1);
    ASSERT_EQ(overShare.size(), onDisk.size());
    for (std::size_t i = 0; i < onDisk.size(); ++i) {
        EXPECT_EQ(overShare[i].name, onDisk[i].name);
        EXPECT_EQ(overShare[i].isFolder, onDisk[i].isFolder);
    }
    for (const std::wstring& name : names) {
        std::string bytes;
        ASSERT_TRUE(m_backend->ReadFile(folder + L"/" + name, bytes, 100));
        EXPECT_EQ(bytes, platform::WideToUtf8(name));
    }
    std::string bytes;
    EXPECT_EQ(m_backend->ReadFile(folder + L"/a", bytes, 0).Error(), FsError::kFailed);

    ASSERT_TRUE(m_backend->DeleteTree(L"\\\\127.0.0.1\\" + Wide(SambaServer::kGuestShare.data()) +
                                      L"\\注文 フォルダ"));
    EXPECT_FALSE(fs::exists(local));
}

TEST_F(SmbFileSystemTest, SeveralThreadsWorkAtOnce) {
    ASSERT_EQ(LogOnA(ShareA()), platform::kNetworkOk);
    TempFolder work;
    constexpr int kThreads = 6, kFiles = 8;
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            const std::wstring share = t % 2 ? ShareA() : Guest();
            const std::wstring folder = share + L"/t" + std::to_wstring(t);
            failures += !m_backend->MakeFolder(folder);
            for (int f = 0; f < kFiles; ++f) {
                const std::wstring name = L"/f" + std::to_wstring(f);
                const std::string bytes =
                    Pattern(200000 + static_cast<std::size_t>(f), static_cast<char>(t));
                work.WriteFile(L"t" + std::to_wstring(t) + name, bytes);
                failures +=
                    !m_backend->CopyFile(work / (L"t" + std::to_wstring(t) + name), folder + name);
                std::string back;
                failures += !m_backend->ReadFile(folder + name, back, bytes.size());
                failures += back != bytes;
            }
            std::vector<FolderEntry> entries;
            failures += !m_backend->ListFolder(folder, entries);
            failures += entries.size() != kFiles;
            failures += !m_backend->DeleteTree(folder);
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures.load(), 0);
}

TEST_F(SmbFileSystemFull, FullShareFailsWithNoSpaceAndLeavesNoFile) {
    TempFolder work;
    work.WriteFile(L"big.jpg", Pattern(3 * 1024 * 1024, 1));
    const std::wstring share = Guest();
    const fs::path local = m_server->ShareFolder(SambaServer::kGuestShare);
    ASSERT_TRUE(m_backend->WriteFileAtomically(share + L"/big.jpg", "kept"));
    EXPECT_EQ(m_backend->CopyFile(work / L"big.jpg", share + L"/big.jpg").Error(),
              FsError::kNoSpace);
    EXPECT_EQ(
        m_backend->WriteFileAtomically(share + L"/big.jpg", Pattern(2 * 1024 * 1024, 2)).Error(),
        FsError::kNoSpace);
    EXPECT_EQ(FileBytes(local / "big.jpg"), "kept");
    EXPECT_TRUE(LeftoverTemporaries(local).empty());
    std::uint64_t freeBytes = 0;
    EXPECT_TRUE(m_backend->GetFreeBytes(share, freeBytes));
    EXPECT_GT(freeBytes, 0u);
}
