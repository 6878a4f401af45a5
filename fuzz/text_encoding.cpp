// The text encodings' round trips: UTF-8 bytes survive wide text exactly when they are valid;
// any file-name bytes survive wide text; wide text of Unicode scalar values survives UTF-8 and
// UTF-16LE; Shift-JIS text that decodes without replacement survives encoding and decoding.

#include "FuzzSupport.h"

#include <algorithm>

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool IsScalarValue(char32_t c) {
    return c < 0xD800 || (c > 0xDFFF && c <= 0x10FFFF);
}

/// Wide text of the input's bytes taken as 32-bit code points, kept to scalar values.
std::wstring ScalarText(std::string_view bytes) {
    std::wstring text;
    for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        char32_t c = 0;
        for (std::size_t k = 0; k < 4; ++k)
            c |= static_cast<char32_t>(static_cast<unsigned char>(bytes[i + k])) << (8 * k);
        c %= 0x110000;
        if (IsScalarValue(c))
            text += static_cast<wchar_t>(c);
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    using namespace platform;

    Check((WideToUtf8(Utf8ToWide(bytes)) == bytes) == IsValidUtf8(bytes),
          "UTF-8 survives wide text exactly when it is valid");
    Check(WideToUtf8FileName(Utf8FileNameToWide(bytes)) == bytes, "file-name bytes survive");

    const std::wstring text = ScalarText(bytes);
    Check(Utf8ToWide(WideToUtf8(text)) == text, "wide text survives UTF-8");
    Check(IsValidUtf8(WideToUtf8(text)), "wide text gives valid UTF-8");
    Check(Utf8FileNameToWide(WideToUtf8FileName(text)) == text, "wide names survive");
    Check(Utf16LeToWide(WideToUtf16Le(text)) == text, "wide text survives UTF-16LE");
    const std::wstring utf16 = Utf16LeToWide(bytes);
    if (utf16.find(kReplacement) == std::wstring::npos && size % 2 == 0)
        Check(WideToUtf16Le(utf16) == bytes, "UTF-16LE without replacement survives");

    const std::wstring japanese = ShiftJisToWide(bytes);
    if (japanese.find(kReplacement) == std::wstring::npos)
        Check(ShiftJisToWide(WideToShiftJis(japanese)) == japanese,
              "decodable Shift-JIS survives encoding");
    Check(DecodeText(bytes).size() <= bytes.size(), "decoding never adds characters");
    return 0;
}
