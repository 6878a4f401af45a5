#include "LogRecords.h"

#include "FolderNames.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextEncoding.h"

#include <algorithm>
#include <fstream>

std::wstring LogMessageOf(std::wstring_view record) {
    // A record read from a file starts with its time stamp and a tab; one kept in memory
    // starts with its level.
    std::size_t fields = 0;
    if (!record.starts_with(L'"')) {
        fields = record.find(L'\t');
        if (fields == std::wstring_view::npos)
            return {};
        ++fields;
    }
    const std::wstring_view separator = L"\",\"";
    const std::size_t source = record.find(separator, fields);
    const std::size_t message = source == std::wstring_view::npos
                                    ? source
                                    : record.find(separator, source + separator.size());
    if (message == std::wstring_view::npos || !record.ends_with(L'"') ||
        record.size() < message + separator.size() + 1)
        return {};
    const std::size_t start = message + separator.size();
    return std::wstring(record.substr(start, record.size() - start - 1));
}

std::vector<std::wstring> LogMessagesIn(const std::wstring& logFolder) {
    std::vector<std::wstring> messages;
    for (const std::wstring& name : FolderNames(logFolder)) {
        std::ifstream file(platform::ToFsPath(logFolder + platform::kPathSeparator + name),
                           std::ios::binary);
        for (std::string record; std::getline(file, record);) {
            if (record.ends_with('\r'))
                record.pop_back();
            messages.push_back(LogMessageOf(platform::Utf8ToWide(record)));
        }
    }
    return messages;
}

int CountOf(const std::vector<std::wstring>& messages, std::wstring_view text) {
    return static_cast<int>(std::count(messages.begin(), messages.end(), text));
}

int IndexOf(const std::vector<std::wstring>& messages, std::wstring_view text, int from) {
    for (int i = std::max(from, 0); i < static_cast<int>(messages.size()); ++i) {
        if (messages[static_cast<std::size_t>(i)] == text)
            return i;
    }
    return -1;
}
