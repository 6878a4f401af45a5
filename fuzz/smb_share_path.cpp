// Network paths for the SMB client: a parsed path has a server, a share and names that are
// neither empty, "." nor "..", nor hold a separator; written again with either separator it
// parses to the same parts; its URL is "smb://" and the parts percent-encoded, which decode
// back to each part's file-name bytes.

#include "FuzzSupport.h"

#include "fileutil/SmbSharePath.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

namespace {

std::vector<std::wstring> Parts(const SmbSharePath& path) {
    std::vector<std::wstring> parts{path.server, path.share};
    parts.insert(parts.end(), path.names.begin(), path.names.end());
    return parts;
}

std::wstring Joined(const std::vector<std::wstring>& parts, wchar_t separator) {
    std::wstring text;
    for (const std::wstring& part : parts)
        text += std::wstring(separator == L'/' && text.empty() ? 2 : 1, separator) + part;
    return separator == L'\\' ? L"\\" + text : text;
}

int HexValue(char c) {
    return c <= '9' ? c - '0' : c - 'A' + 10;
}

/// The URL's path parts after "smb://", percent-decoded; nothing when a byte is not encoded
/// as it must be.
std::optional<std::vector<std::string>> DecodedUrl(const std::string& url) {
    if (!url.starts_with("smb://"))
        return std::nullopt;
    std::vector<std::string> parts(1);
    for (std::size_t i = 6; i < url.size(); ++i) {
        const char c = url[i];
        if (c == '/') {
            parts.emplace_back();
        } else if (c == '%' && i + 2 < url.size() && std::isxdigit(url[i + 1]) &&
                   std::isxdigit(url[i + 2])) {
            parts.back() += static_cast<char>(HexValue(url[i + 1]) * 16 + HexValue(url[i + 2]));
            i += 2;
        } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' ||
                   c == '_' || c == '~') {
            parts.back() += c;
        } else {
            return std::nullopt;
        }
    }
    return parts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = platform::Utf8FileNameToWide(
        std::string_view(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 256)));
    const std::optional<SmbSharePath> path = ParseSmbSharePath(text);
    if (!path)
        return 0;
    const std::vector<std::wstring> parts = Parts(*path);
    for (const std::wstring& part : parts)
        Check(!part.empty() && part != L"." && part != L".." &&
                  part.find_first_of(L"/\\") == std::wstring::npos,
              "a part is a plain name", part);
    for (wchar_t separator : {L'/', L'\\'}) {
        const std::optional<SmbSharePath> again = ParseSmbSharePath(Joined(parts, separator));
        Check(again && Parts(*again) == parts, "a path written again parses the same", text);
    }
    const std::optional<std::vector<std::string>> url = DecodedUrl(path->Url());
    Check(url.has_value() && url->size() == parts.size(), "the URL is percent-encoded",
          platform::Utf8ToWide(path->Url()));
    for (std::size_t i = 0; i < parts.size(); ++i)
        Check((*url)[i] == platform::WideToUtf8FileName(parts[i]), "a URL part decodes to its name",
              parts[i]);
    Check(Parts(path->Child(L"x")).back() == L"x" && path->Root().names.empty() &&
              path->SameShare(path->Root()),
          "child and root stay on the share");
    return 0;
}
