#pragma once
/// Wide text to the console in UTF-8, whatever the process locale.

#include <cstdio>
#include <string>

void PrintText(std::FILE* output, const std::wstring& text);
void PrintLine(std::FILE* output, const std::wstring& text);
/// "relaydesk-cli: " + message on the error output.
void PrintError(const std::wstring& message);
