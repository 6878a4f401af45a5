#include "transfer/TransferJournal.h"
#include "transfer/RetrySchedule.h"

#include "TempFolder.h"
#include "fileutil/FileUtil.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

TEST(TransferJournal, KeepsOneEntryPerOrderUntilItIsCleared) {
    TempFolder folder;
    const TransferJournal journal(folder / L"JOURNAL");
    EXPECT_TRUE(journal.Pending().empty());
    const OrderTicket first{folder / L"端末/in/r0000001", folder / L"端末/in", folder / L"out", 1};
    const OrderTicket second{folder / L"二号機/in/r0000001", folder / L"二号機/in",
                             folder / L"out2", 1};
    ASSERT_TRUE(journal.Record(first));
    ASSERT_TRUE(journal.Record(second));
    ASSERT_TRUE(journal.Record(first)); // recorded again: still one entry

    const std::vector<OrderTicket> pending = journal.Pending();
    ASSERT_EQ(pending.size(), 2u);
    // The same order named in another case is the same order.
    EXPECT_TRUE(journal.IsPending(folder / L"端末/in/R0000001"));
    ASSERT_TRUE(journal.Clear(first));
    ASSERT_EQ(journal.Pending().size(), 1u);
    EXPECT_EQ(journal.Pending().front().outputFolder, second.outputFolder);
    EXPECT_EQ(journal.Pending().front().orderNumber, 1);
    EXPECT_TRUE(journal.Clear(first)) << "clearing what is gone succeeds";
}

TEST(TransferJournal, RemovesUnreadableEntriesAndWritesCutShort) {
    TempFolder folder;
    const TransferJournal journal(folder / L"JOURNAL");
    folder.WriteFile(L"JOURNAL/order-0000000000000001.ini", "[TRANSFER]\r\nORDER_NUMBER=12x\r\n");
    folder.WriteFile(L"JOURNAL/.rdtmp-0123456789abcdef.part", "[TRANS");
    EXPECT_TRUE(journal.Pending().empty());
    EXPECT_FALSE(folder.Exists(L"JOURNAL/order-0000000000000001.ini"));
    EXPECT_FALSE(folder.Exists(L"JOURNAL/.rdtmp-0123456789abcdef.part"));
}

TEST(RetrySchedule, WaitsLongerAfterEveryFailureUpToTheLongestPause) {
    using std::chrono::seconds;
    RetrySchedule schedule;
    const auto start = RetrySchedule::Clock::now();
    EXPECT_TRUE(schedule.IsDue(L"/in/r0000001", start));
    seconds expected = RetrySchedule::kFirstPause;
    for (int failure = 0; failure < 12; ++failure) {
        EXPECT_EQ(schedule.Postpone(L"/in/r0000001", start), expected) << failure;
        expected = std::min<seconds>(expected * 2, RetrySchedule::kLongestPause);
    }
    EXPECT_FALSE(schedule.IsDue(L"/in/R0000001", start + seconds(299)));
    EXPECT_TRUE(schedule.IsDue(L"/in/r0000001", start + RetrySchedule::kLongestPause));
    EXPECT_TRUE(schedule.IsDue(L"/in/r0000002", start)) << "other orders do not wait";
    schedule.Forget(L"/in/r0000001");
    EXPECT_EQ(schedule.Postpone(L"/in/r0000001", start), RetrySchedule::kFirstPause);
}

} // namespace
