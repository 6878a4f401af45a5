#include "logging/LogFormat.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace {

struct Conversion {
    std::wstring flags;
    std::wstring width;
    std::wstring precision; // with its dot
    wchar_t type = 0;
};

bool IsFlag(wchar_t c) {
    return c == L'-' || c == L'+' || c == L' ' || c == L'#' || c == L'0';
}

bool IsLengthModifier(wchar_t c) {
    return c == L'h' || c == L'l' || c == L'L' || c == L'q' || c == L'j' || c == L'z' ||
           c == L't' || c == L'I';
}

// Parses a conversion starting after '%'; returns false when it is not one printf knows,
// leaving `end` at the first character that was not consumed.
bool ParseConversion(std::wstring_view format, size_t start, Conversion& conversion, size_t& end) {
    size_t i = start;
    while (i < format.size() && IsFlag(format[i]))
        conversion.flags += format[i++];
    while (i < format.size() && std::iswdigit(static_cast<wint_t>(format[i])))
        conversion.width += format[i++];
    if (i < format.size() && format[i] == L'.') {
        conversion.precision += format[i++];
        while (i < format.size() && std::iswdigit(static_cast<wint_t>(format[i])))
            conversion.precision += format[i++];
    }
    while (i < format.size() && (IsLengthModifier(format[i]) || std::iswdigit(static_cast<wint_t>(format[i]))))
        ++i; // sizes are taken from the captured argument, not from the format
    end = i;
    if (i >= format.size())
        return false;
    static constexpr std::wstring_view kTypes = L"diuxXocsSfFeEgG";
    if (kTypes.find(format[i]) == std::wstring_view::npos)
        return false;
    conversion.type = format[i];
    end = i + 1;
    return true;
}

std::wstring FormatNumber(const Conversion& conversion, const LogArgument& argument) {
    wchar_t type = conversion.type;
    std::wstring printfFormat = L"%" + conversion.flags + conversion.width + conversion.precision;
    wchar_t buffer[128] = {};
    if (type == L'f' || type == L'F' || type == L'e' || type == L'E' || type == L'g' || type == L'G') {
        double value = std::visit([](const auto& v) -> double {
            if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::wstring>)
                return 0.0;
            else
                return static_cast<double>(v);
        }, argument);
        printfFormat += type;
        std::swprintf(buffer, 128, printfFormat.c_str(), value);
        return buffer;
    }
    if (type == L'c') {
        std::int64_t value = std::holds_alternative<std::int64_t>(argument) ? std::get<std::int64_t>(argument)
                           : std::holds_alternative<std::uint64_t>(argument)
                               ? static_cast<std::int64_t>(std::get<std::uint64_t>(argument))
                               : 0;
        return std::wstring(1, static_cast<wchar_t>(value));
    }
    bool isSigned = type == L'd' || type == L'i';
    if (std::holds_alternative<std::wstring>(argument))
        return L"";
    if (isSigned) {
        long long value = std::holds_alternative<std::int64_t>(argument)
                              ? std::get<std::int64_t>(argument)
                              : std::holds_alternative<std::uint64_t>(argument)
                                    ? static_cast<long long>(std::get<std::uint64_t>(argument))
                                    : static_cast<long long>(std::get<double>(argument));
        printfFormat += L"ll";
        printfFormat += type;
        std::swprintf(buffer, 128, printfFormat.c_str(), value);
    } else {
        // Negative numbers print as their 32-bit two's complement, as "%u"/"%x" of an int do.
        unsigned long long value = 0;
        if (std::holds_alternative<std::int64_t>(argument)) {
            std::int64_t signedValue = std::get<std::int64_t>(argument);
            value = signedValue < 0 && signedValue >= INT32_MIN
                        ? static_cast<std::uint32_t>(static_cast<std::int32_t>(signedValue))
                        : static_cast<unsigned long long>(signedValue);
        } else if (std::holds_alternative<std::uint64_t>(argument)) {
            value = std::get<std::uint64_t>(argument);
        } else {
            value = static_cast<unsigned long long>(std::get<double>(argument));
        }
        printfFormat += L"ll";
        printfFormat += type;
        std::swprintf(buffer, 128, printfFormat.c_str(), value);
    }
    return buffer;
}

std::wstring FormatText(const Conversion& conversion, const LogArgument& argument) {
    std::wstring text;
    if (std::holds_alternative<std::wstring>(argument)) {
        text = std::get<std::wstring>(argument);
    } else {
        Conversion asNumber = conversion;
        asNumber.type = std::holds_alternative<std::uint64_t>(argument) ? L'u' : L'd';
        asNumber.precision.clear();
        text = FormatNumber(asNumber, argument);
    }
    if (conversion.precision.size() > 1) {
        size_t limit = std::wcstoul(conversion.precision.c_str() + 1, nullptr, 10);
        if (text.size() > limit)
            text.resize(limit);
    }
    size_t width = conversion.width.empty() ? 0 : std::wcstoul(conversion.width.c_str(), nullptr, 10);
    if (text.size() < width) {
        bool left = conversion.flags.find(L'-') != std::wstring::npos;
        std::wstring padding(width - text.size(), L' ');
        text = left ? text + padding : padding + text;
    }
    return text;
}

} // namespace

std::wstring FormatLogMessage(std::wstring_view format, const std::vector<LogArgument>& arguments,
                              size_t maxLength) {
    std::wstring out;
    size_t next = 0;
    for (size_t i = 0; i < format.size() && out.size() < maxLength;) {
        if (format[i] != L'%') {
            out += format[i++];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == L'%') {
            out += L'%';
            i += 2;
            continue;
        }
        Conversion conversion;
        size_t end = 0;
        if (!ParseConversion(format, i + 1, conversion, end) || next >= arguments.size()) {
            // Not a conversion, or no argument left for it: the text stands as written.
            end = std::max(end, i + 1);
            out.append(format.substr(i, end - i));
            i = end;
            continue;
        }
        const LogArgument& argument = arguments[next++];
        out += (conversion.type == L's' || conversion.type == L'S') ? FormatText(conversion, argument)
                                                                     : FormatNumber(conversion, argument);
        i = end;
    }
    if (out.size() > maxLength)
        out.resize(maxLength);
    return out;
}
