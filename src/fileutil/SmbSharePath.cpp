#include "fileutil/SmbSharePath.h"

#include "fileutil/NameCase.h"
#include "platform/TextEncoding.h"

namespace {

bool IsSeparator(wchar_t character) {
    return character == L'/' || character == L'\\';
}

bool IsUnreserved(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
           (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

std::string PercentEncoded(const std::wstring& name) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const unsigned char byte : platform::WideToUtf8FileName(name)) {
        if (IsUnreserved(byte)) {
            encoded += static_cast<char>(byte);
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0xF];
        }
    }
    return encoded;
}

} // namespace

std::optional<SmbSharePath> ParseSmbSharePath(std::wstring_view path) {
    if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1]))
        return std::nullopt;
    std::vector<std::wstring> parts;
    std::wstring current;
    for (std::size_t i = 2; i <= path.size(); ++i) {
        if (i == path.size() || IsSeparator(path[i])) {
            if (current == L"." || current == L"..")
                return std::nullopt;
            if (!current.empty())
                parts.push_back(std::move(current));
            current.clear();
        } else {
            current += path[i];
        }
    }
    if (parts.size() < 2)
        return std::nullopt;
    SmbSharePath result;
    result.server = std::move(parts[0]);
    result.share = std::move(parts[1]);
    result.names.assign(std::make_move_iterator(parts.begin() + 2),
                        std::make_move_iterator(parts.end()));
    return result;
}

std::wstring SmbShareKey(std::wstring_view server, std::wstring_view share) {
    return UpperCaseName(server) + L'/' + UpperCaseName(share);
}

std::string SmbSharePath::Url() const {
    std::string url = "smb://" + PercentEncoded(server) + '/' + PercentEncoded(share);
    for (const std::wstring& name : names)
        url += '/' + PercentEncoded(name);
    return url;
}

bool SmbSharePath::SameShare(const SmbSharePath& other) const {
    return NamesEqual(server, other.server) && NamesEqual(share, other.share);
}

SmbSharePath SmbSharePath::Root() const {
    return SmbSharePath{server, share, {}};
}

SmbSharePath SmbSharePath::Sibling(const std::wstring& name) const {
    SmbSharePath sibling = *this;
    if (sibling.names.empty())
        sibling.names.push_back(name);
    else
        sibling.names.back() = name;
    return sibling;
}

SmbSharePath SmbSharePath::Child(const std::wstring& name) const {
    SmbSharePath child = *this;
    child.names.push_back(name);
    return child;
}
