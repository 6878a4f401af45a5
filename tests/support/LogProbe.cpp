// Sends three lines through a log client and prints their statuses; used to check what a
// program does when the logging service library is not beside it.
#include "logging/LogClient.h"

#include <cstdio>

int main() {
    CLogClient client(L"QRM_Relaydesk2");
    std::uint32_t first = WriteLog(&client, L"OnOK IN");
    std::uint32_t second = WriteLog(&client, L"OnOK %d", 2);
    std::uint32_t third = client.LogLine(8, nullptr, L"x");
    std::printf("%u %u %u\n", first, second, third);
    return 0;
}
