#include "cli/ConsoleText.h"

#include "platform/TextEncoding.h"

void PrintText(std::FILE* output, const std::wstring& text) {
    const std::string bytes = platform::WideToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), output);
    std::fflush(output);
}

void PrintLine(std::FILE* output, const std::wstring& text) {
    PrintText(output, text + L"\n");
}

void PrintError(const std::wstring& message) {
    PrintLine(stderr, L"relaydesk-cli: " + message);
}
