#include "transfer/OrderFolderName.h"

#include <gtest/gtest.h>

namespace {

TEST(OrderFolderName, AcceptsOnlyALetterAndSevenDigits) {
    const struct {
        const wchar_t* name;
        bool isOrder;
        int number;
    } cases[] = {
        {L"r0001234", true, 1234}, {L"R0000001", true, 1},         {L"r9999999", true, 9999999},
        {L"r000123", false, 0},    {L"r00001234", false, 0},       {L"r00a1234", false, 0},
        {L"r 001234", false, 0},   {L"r０００１２３４", false, 0}, {L"", false, 0},
    };
    for (const auto& c : cases) {
        int number = -1;
        EXPECT_EQ(ParseOrderFolderName(c.name, number), c.isOrder) << c.name;
        if (c.isOrder) {
            EXPECT_EQ(number, c.number) << c.name;
        }
    }
}

TEST(OrderFolderName, NamesStatesWithSevenDigits) {
    EXPECT_EQ(OrderFolderName(kTransferredLetter, 1234), L"e0001234");
    EXPECT_EQ(OrderFolderName(kFinishedLetter, 9999999), L"o9999999");
    EXPECT_EQ(OrderDigits(0), L"0000000");
}

TEST(OrderFolderName, DropsTheExtensionAsThePathSplitterDoes) {
    EXPECT_EQ(NameWithoutExtension(L"r0000001.bak"), L"r0000001");
    EXPECT_EQ(NameWithoutExtension(L"r0000001"), L"r0000001");
    EXPECT_EQ(NameWithoutExtension(L"r.0000001.x"), L"r.0000001");
}

} // namespace
