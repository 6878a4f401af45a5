#include "config/ProfileDocument.h"

#include "fileutil/FileSystem.h"
#include "fileutil/NameCase.h"
#include "platform/TextEncoding.h"

#include <algorithm>
#include <utility>

namespace {

// Settings files are small; this only bounds memory on a wrong path.
constexpr std::size_t kMaxProfileBytes = 64 * 1024 * 1024;

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

std::wstring_view Trim(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A value ends at its line: a line break inside it would create lines of its own.
std::wstring_view FirstLine(std::wstring_view value) {
    return value.substr(0, value.find_first_of(L"\r\n"));
}

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

bool ProfileDocument::Load(const std::wstring& path) {
    std::string bytes;
    const bool read = static_cast<bool>(FileSystemFor(path).ReadFile(path, bytes, kMaxProfileBytes));
    LoadFromBytes(read ? bytes : std::string());
    return read;
}

void ProfileDocument::LoadFromBytes(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        m_encoding = Encoding::kUtf8WithBom;
    else if (bytes.starts_with("\xFF\xFE"))
        m_encoding = Encoding::kUtf16LeWithBom;
    else if (IsAscii(bytes))
        m_encoding = Encoding::kSystemCodePage;
    else if (platform::IsValidUtf8(bytes))
        m_encoding = Encoding::kUtf8;
    else
        m_encoding = Encoding::kShiftJis;
    const std::wstring text = platform::DecodeText(bytes);

    const std::size_t firstBreak = text.find(L'\n');
    m_bCrLf = firstBreak == std::wstring::npos || (firstBreak > 0 && text[firstBreak - 1] == L'\r');
    m_bEndsWithLineEnd = text.empty() || text.back() == L'\n';

    m_sections.assign(1, Section{});
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring_view raw(text.data() + start, end - start);
        if (!raw.empty() && raw.back() == L'\r')
            raw.remove_suffix(1);
        start = end + 1;

        Line line{std::wstring(raw), {}, 0};
        const std::wstring_view trimmed = Trim(raw);
        const std::size_t close = trimmed.rfind(L']');
        if (trimmed.starts_with(L'[') && close != std::wstring_view::npos) {
            Section section;
            section.name = Trim(trimmed.substr(1, close - 1));
            section.lines.push_back(std::move(line));
            m_sections.push_back(std::move(section));
            continue;
        }
        Section& current = m_sections.back();
        const std::size_t equals = raw.find(L'=');
        // Keys before the first section and comment lines are kept but never looked up.
        if (m_sections.size() > 1 && !trimmed.starts_with(L';') && equals != std::wstring_view::npos) {
            line.key = Trim(raw.substr(0, equals));
            line.equals = equals;
        }
        current.lines.push_back(std::move(line));
    }
    for (Section& section : m_sections)
        IndexKeys(section);
    IndexSections();
}

void ProfileDocument::IndexKeys(Section& section) {
    section.keys.clear();
    for (std::size_t i = 0; i < section.lines.size(); ++i) {
        if (!section.lines[i].key.empty())
            section.keys.emplace(UpperCaseName(section.lines[i].key), i);
    }
}

void ProfileDocument::IndexSections() {
    if (m_sections.empty())
        m_sections.assign(1, Section{});
    m_sectionIndex.clear();
    for (std::size_t i = 1; i < m_sections.size(); ++i)
        m_sectionIndex.emplace(UpperCaseName(m_sections[i].name), i);
}

const ProfileDocument::Section* ProfileDocument::FindSection(std::wstring_view name) const {
    const auto found = m_sectionIndex.find(UpperCaseName(name));
    return found == m_sectionIndex.end() ? nullptr : &m_sections[found->second];
}

ProfileDocument::Section* ProfileDocument::FindSection(std::wstring_view name) {
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

std::optional<std::wstring> ProfileDocument::Get(std::wstring_view section, std::wstring_view key) const {
    const Section* found = FindSection(section);
    if (!found)
        return std::nullopt;
    const auto line = found->keys.find(UpperCaseName(Trim(key)));
    if (line == found->keys.end())
        return std::nullopt;
    const Line& entry = found->lines[line->second];
    std::wstring_view value = Trim(std::wstring_view(entry.text).substr(entry.equals + 1));
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::wstring(value);
}

void ProfileDocument::Set(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    const std::wstring_view name = Trim(key);
    const std::wstring valueText(FirstLine(value));
    if (m_sections.empty())
        m_sections.assign(1, Section{});
    Section* target = FindSection(section);
    if (!target) {
        Section added;
        added.name = Trim(section);
        added.lines.push_back(Line{L"[" + added.name + L"]", {}, 0});
        m_sections.push_back(std::move(added));
        m_sectionIndex.emplace(UpperCaseName(m_sections.back().name), m_sections.size() - 1);
        target = &m_sections.back();
        m_bEndsWithLineEnd = true;
    }
    const std::wstring upperKey = UpperCaseName(name);
    const auto existing = target->keys.find(upperKey);
    if (existing != target->keys.end()) {
        // The key keeps the spelling it has in the file.
        Line& line = target->lines[existing->second];
        line.text = line.key + L"=" + valueText;
        line.equals = line.key.size();
        return;
    }
    // After the section's last non-blank line, so that blank lines keep separating sections;
    // every key line lies before that point, so the key index stays valid.
    std::size_t position = target->lines.size();
    while (position > 1 && Trim(target->lines[position - 1].text).empty())
        --position;
    target->lines.insert(target->lines.begin() + static_cast<std::ptrdiff_t>(position),
                         Line{std::wstring(name) + L"=" + valueText, std::wstring(name), name.size()});
    target->keys.emplace(upperKey, position);
    if (target == &m_sections.back() && position == target->lines.size() - 1)
        m_bEndsWithLineEnd = true;
}

bool ProfileDocument::RemoveKey(std::wstring_view section, std::wstring_view key) {
    Section* target = FindSection(section);
    if (!target)
        return false;
    const auto found = target->keys.find(UpperCaseName(Trim(key)));
    if (found == target->keys.end())
        return false;
    target->lines.erase(target->lines.begin() + static_cast<std::ptrdiff_t>(found->second));
    IndexKeys(*target);
    return true;
}

bool ProfileDocument::RemoveSection(std::wstring_view section) {
    const auto found = m_sectionIndex.find(UpperCaseName(Trim(section)));
    if (found == m_sectionIndex.end())
        return false;
    m_sections.erase(m_sections.begin() + static_cast<std::ptrdiff_t>(found->second));
    IndexSections();
    return true;
}

bool ProfileDocument::HasSection(std::wstring_view section) const {
    return FindSection(section) != nullptr;
}

std::vector<std::wstring> ProfileDocument::SectionNames() const {
    std::vector<std::wstring> names;
    for (std::size_t i = 1; i < m_sections.size(); ++i) {
        const auto first = m_sectionIndex.find(UpperCaseName(m_sections[i].name));
        if (first != m_sectionIndex.end() && first->second == i)
            names.push_back(m_sections[i].name);
    }
    return names;
}

std::vector<std::wstring> ProfileDocument::Keys(std::wstring_view section) const {
    std::vector<std::wstring> keys;
    const Section* found = FindSection(section);
    if (!found)
        return keys;
    for (std::size_t i = 0; i < found->lines.size(); ++i) {
        const Line& line = found->lines[i];
        if (!line.key.empty() && found->keys.at(UpperCaseName(line.key)) == i)
            keys.push_back(line.key);
    }
    return keys;
}

std::string ProfileDocument::ToBytes() const {
    const wchar_t* lineEnd = m_bCrLf ? L"\r\n" : L"\n";
    std::wstring text;
    bool first = true;
    for (const Section& section : m_sections) {
        for (const Line& line : section.lines) {
            if (!first)
                text += lineEnd;
            text += line.text;
            first = false;
        }
    }
    if (!first && m_bEndsWithLineEnd)
        text += lineEnd;
    switch (m_encoding) {
    case Encoding::kUtf8:
        return platform::WideToUtf8(text);
    case Encoding::kUtf8WithBom:
        return "\xEF\xBB\xBF" + platform::WideToUtf8(text);
    case Encoding::kUtf16LeWithBom:
        return "\xFF\xFE" + platform::WideToUtf16Le(text);
    case Encoding::kShiftJis:
        return platform::WideToShiftJis(text);
    case Encoding::kSystemCodePage:
        break;
    }
    return platform::WideToSystemCodePage(text);
}

bool ProfileDocument::Save(const std::wstring& path) const {
    return static_cast<bool>(FileSystemFor(path).WriteFileAtomically(path, ToBytes()));
}
