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
    while (i < format.size() &&
           (IsLengthModifier(format[i]) || std::iswdigit(static_cast<wint_t>(format[i]))))
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

bool IsFloatingType(wchar_t type) {
    return std::wstring_view(L"fFeEgG").find(type) != std::wstring_view::npos;
}

// The argument as each kind of conversion takes it; text gives 0.
double AsDouble(const LogArgument& argument) {
    return std::visit(
        [](const auto& v) -> double {
            if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::wstring>)
                return 0.0;
            else
                return static_cast<double>(v);
        },
        argument);
}

// An integer argument; 0 for any other.
std::int64_t AsInteger(const LogArgument& argument) {
    if (const auto* value = std::get_if<std::int64_t>(&argument))
        return *value;
    if (const auto* value = std::get_if<std::uint64_t>(&argument))
        return static_cast<std::int64_t>(*value);
    return 0;
}

std::int64_t AsSigned(const LogArgument& argument) {
    if (const auto* value = std::get_if<double>(&argument))
        return static_cast<std::int64_t>(*value);
    return AsInteger(argument);
}

std::uint64_t AsUnsigned(const LogArgument& argument) {
    if (const auto* value = std::get_if<double>(&argument))
        return static_cast<std::uint64_t>(*value);
    if (const auto* value = std::get_if<std::uint64_t>(&argument))
        return *value;
    // Negative numbers print as their 32-bit two's complement, as "%u"/"%x" of an int do.
    const std::int64_t value = AsInteger(argument);
    return value < 0 && value >= INT32_MIN
               ? static_cast<std::uint32_t>(static_cast<std::int32_t>(value))
               : static_cast<std::uint64_t>(value);
}

template <typename Value> std::wstring Print(const std::wstring& printfFormat, Value value) {
    wchar_t buffer[128] = {};
    std::swprintf(buffer, 128, printfFormat.c_str(), value);
    return buffer;
}

std::wstring FormatNumber(const Conversion& conversion, const LogArgument& argument) {
    const wchar_t type = conversion.type;
    const std::wstring printfFormat =
        L"%" + conversion.flags + conversion.width + conversion.precision;
    if (IsFloatingType(type))
        return Print(printfFormat + type, AsDouble(argument));
    if (type == L'c')
        return std::wstring(1, static_cast<wchar_t>(AsInteger(argument)));
    if (std::holds_alternative<std::wstring>(argument))
        return L"";
    if (type == L'd' || type == L'i')
        return Print(printfFormat + L"ll" + type, static_cast<long long>(AsSigned(argument)));
    return Print(printfFormat + L"ll" + type,
                 static_cast<unsigned long long>(AsUnsigned(argument)));
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
    size_t width =
        conversion.width.empty() ? 0 : std::wcstoul(conversion.width.c_str(), nullptr, 10);
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
        out += (conversion.type == L's' || conversion.type == L'S')
                   ? FormatText(conversion, argument)
                   : FormatNumber(conversion, argument);
        i = end;
    }
    if (out.size() > maxLength)
        out.resize(maxLength);
    return out;
}
