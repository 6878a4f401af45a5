#pragma once
/// printf-style formatting of log messages that can never read an argument that was not
/// passed: the arguments are captured with their types, and a conversion without an
/// argument is written out as it stands.

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

using LogArgument = std::variant<std::int64_t, std::uint64_t, double, std::wstring>;

/// Formats `format` with the flags, width, precision and conversions d i u x X o c s S f e g %
/// of printf; "%s" takes any captured text, numbers take any captured number. At most
/// `maxLength` characters are produced (the rest is cut).
std::wstring FormatLogMessage(std::wstring_view format, const std::vector<LogArgument>& arguments,
                              size_t maxLength);

template <typename T> LogArgument ToLogArgument(const T& value) {
    if constexpr (std::is_same_v<T, bool> || (std::is_integral_v<T> && std::is_signed_v<T>))
        return std::int64_t{value};
    else if constexpr (std::is_integral_v<T>)
        return std::uint64_t{value};
    else if constexpr (std::is_enum_v<T>)
        return static_cast<std::int64_t>(value);
    else if constexpr (std::is_floating_point_v<T>)
        return double{value};
    else if constexpr (std::is_array_v<T>)
        return std::wstring(value);
    else if constexpr (std::is_convertible_v<T, const wchar_t*>)
        return value ? std::wstring(value) : std::wstring();
    else if constexpr (std::is_pointer_v<T>)
        return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(value));
    else
        return std::wstring(std::wstring_view(value));
}

inline LogArgument ToLogArgument(const std::wstring& value) {
    return value;
}
inline LogArgument ToLogArgument(std::wstring_view value) {
    return std::wstring(value);
}
