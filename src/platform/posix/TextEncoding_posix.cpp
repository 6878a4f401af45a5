#include "platform/TextEncoding.h"

#include <iconv.h>

#include <cerrno>

namespace platform {
namespace {

// Converts with iconv; a byte that cannot be converted is replaced by `replacement`
// and conversion goes on.
std::string Convert(const char* to, const char* from, std::string_view input,
                    std::string_view replacement) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    std::string out;
    char buffer[4096];
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof(buffer);
        size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr - buffer);
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            out.append(replacement);
            size_t skip = (errno == EILSEQ || errno == EINVAL) ? 1 : inLeft;
            in += skip;
            inLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::wstring ShiftJisToWide(std::string_view bytes) {
    return Utf8ToWide(Convert("UTF-8", "CP932", bytes, "\xEF\xBF\xBD"));
}

std::string WideToShiftJis(std::wstring_view text) {
    return Convert("CP932", "UTF-8", WideToUtf8(text), "?");
}

std::string WideToSystemCodePage(std::wstring_view text) {
    return WideToUtf8(text);
}

std::wstring SystemCodePageToWide(std::string_view bytes) {
    return Utf8ToWide(bytes);
}

} // namespace platform
