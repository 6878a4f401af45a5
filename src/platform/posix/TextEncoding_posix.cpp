#include "platform/TextEncoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace platform {
namespace {

// Bytes of the input character at the start of `rest`: one for byte encodings, the whole
// sequence for UTF-8, so that one character that cannot be converted gives one replacement.
using CharacterLength = std::size_t (*)(std::string_view rest);

std::size_t OneByte(std::string_view) {
    return 1;
}

std::size_t Utf8SequenceLength(std::string_view rest) {
    const auto lead = static_cast<unsigned char>(rest.front());
    const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return std::min(length, rest.size());
}

// Converts with iconv; a character that cannot be converted is replaced by `replacement`
// and conversion goes on.
std::string Convert(const char* to, const char* from, std::string_view input,
                    std::string_view replacement, CharacterLength characterLength) {
    iconv_t cd = iconv_open(to, from);
    // iconv_open reports failure as the handle (iconv_t)-1.
    if (cd == reinterpret_cast<iconv_t>(-1)) // NOLINT(performance-no-int-to-ptr)
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
            size_t skip = (errno == EILSEQ || errno == EINVAL)
                              ? characterLength(std::string_view(in, inLeft))
                              : inLeft;
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
    return Utf8ToWide(Convert("UTF-8", "CP932", bytes, "\xEF\xBF\xBD", OneByte));
}

std::string WideToShiftJis(std::wstring_view text) {
    return Convert("CP932", "UTF-8", WideToUtf8(text), "?", Utf8SequenceLength);
}

std::string WideToSystemCodePage(std::wstring_view text) {
    return WideToUtf8(text);
}

std::wstring SystemCodePageToWide(std::string_view bytes) {
    return Utf8ToWide(bytes);
}

} // namespace platform
