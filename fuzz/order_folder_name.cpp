// Order folder names and the calendar days of the order view: a name parses exactly when it is
// one letter and seven digits, and then names itself again; a day parses exactly when it is
// "YYYY-MM-DD" or "YYYY/MM/DD" naming a day that exists (from 1970 on), and then reads back.

#include "FuzzSupport.h"

#include "transfer/FinishedOrders.h"
#include "transfer/OrderFolderName.h"

#include <chrono>
#include <algorithm>

namespace {

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

int Digits(std::wstring_view text) {
    int value = 0;
    for (wchar_t c : text)
        value = value * 10 + (c - L'0');
    return value;
}

void CheckOrderFolderName(const std::wstring& name) {
    int number = -1;
    const bool parsed = ParseOrderFolderName(name, number);
    bool shaped = name.size() == 8;
    for (std::size_t i = 1; shaped && i < 8; ++i)
        shaped = IsDigit(name[i]);
    Check(parsed == shaped, "a folder name parses exactly when it is a letter and 7 digits", name);
    if (parsed)
        Check(OrderFolderName(name[0], number) == name, "a parsed folder name names itself", name);
}

void CheckCalendarDay(const std::wstring& text) {
    CalendarDay day;
    const bool parsed = ParseCalendarDay(text, day);
    const bool shaped = text.size() == 10 && (text[4] == L'-' || text[4] == L'/') &&
                        text[7] == text[4] && IsDigit(text[0]) && IsDigit(text[1]) &&
                        IsDigit(text[2]) && IsDigit(text[3]) && IsDigit(text[5]) &&
                        IsDigit(text[6]) && IsDigit(text[8]) && IsDigit(text[9]);
    if (!shaped) {
        Check(!parsed, "a day of any other shape is refused", text);
        return;
    }
    const int year = Digits(text.substr(0, 4));
    const std::chrono::year_month_day date{std::chrono::year(year),
                                           std::chrono::month(Digits(text.substr(5, 2))),
                                           std::chrono::day(Digits(text.substr(8, 2)))};
    Check(parsed == (date.ok() && year >= 1970), "a day parses exactly when it exists", text);
    if (parsed)
        Check(day.year == year && day.month == Digits(text.substr(5, 2)) &&
                  day.day == Digits(text.substr(8, 2)),
              "a parsed day reads back", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = platform::Utf8ToWide(
        std::string_view(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 64)));
    CheckOrderFolderName(text);
    CheckCalendarDay(text);
    return 0;
}
