#pragma once
/// The log as tests read it back: the messages of the records, without time stamps, level
/// and source, oldest first.

#include <string>
#include <string_view>
#include <vector>

/// The message of one record ("time<TAB>"08","source","message"", the time stamp optional);
/// empty for a record that carries none.
std::wstring LogMessageOf(std::wstring_view record);
/// The messages of every record in the files of a log folder, the files in name (date) order.
std::vector<std::wstring> LogMessagesIn(const std::wstring& logFolder);
/// How many messages are exactly `text`.
int CountOf(const std::vector<std::wstring>& messages, std::wstring_view text);
/// Position of the first message equal to `text` at or after `from`; -1 when absent.
int IndexOf(const std::vector<std::wstring>& messages, std::wstring_view text, int from = 0);
