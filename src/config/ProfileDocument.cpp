#include "config/ProfileDocument.h"

#include "fileutil/FileSystemResolver.h"
#include "fileutil/NameCase.h"
#include "platform/TextEncoding.h"

#include <algorithm>
#include <utility>

namespace {

// Settings files are small; this only bounds memory on a wrong path.
constexpr std::size_t kMaxProfileBytes = std::size_t{64} * 1024 * 1024;

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

using Encoding = ProfileDocument::Encoding;

std::string_view ByteOrderMark(Encoding encoding) {
    switch (encoding) {
    case Encoding::kUtf8WithBom:
        return "\xEF\xBB\xBF";
    case Encoding::kUtf16LeWithBom:
        return "\xFF\xFE";
    default:
        return {};
    }
}

std::wstring Decode(Encoding encoding, std::string_view bytes) {
    switch (encoding) {
    case Encoding::kUtf8:
    case Encoding::kUtf8WithBom:
        return platform::Utf8ToWide(bytes);
    case Encoding::kUtf16LeWithBom:
        return platform::Utf16LeToWide(bytes);
    case Encoding::kShiftJis:
        break;
    }
    return platform::ShiftJisToWide(bytes);
}

std::string Encode(Encoding encoding, std::wstring_view text) {
    switch (encoding) {
    case Encoding::kUtf8:
    case Encoding::kUtf8WithBom:
        return platform::WideToUtf8(text);
    case Encoding::kUtf16LeWithBom:
        return platform::WideToUtf16Le(text);
    case Encoding::kShiftJis:
        break;
    }
    return platform::WideToShiftJis(text);
}

} // namespace

bool ProfileDocument::Load(const std::wstring& path) {
    return Load(LocalFolders().For(path), path);
}

bool ProfileDocument::Load(FileSystem& fileSystem, const std::wstring& path) {
    std::string bytes;
    const bool read = static_cast<bool>(fileSystem.ReadFile(path, bytes, kMaxProfileBytes));
    LoadFromBytes(read ? bytes : std::string());
    return read;
}

void ProfileDocument::LoadFromBytes(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        m_encoding = Encoding::kUtf8WithBom;
    else if (bytes.starts_with("\xFF\xFE"))
        m_encoding = Encoding::kUtf16LeWithBom;
    else if (platform::IsValidUtf8(bytes))
        m_encoding = Encoding::kUtf8;
    else
        m_encoding = Encoding::kShiftJis;
    ReadLines(bytes.substr(ByteOrderMark(m_encoding).size()));
    for (Section& section : m_sections)
        IndexKeys(section);
    IndexSections();
}

void ProfileDocument::ReadLines(std::string_view bytes) {
    // Line ends are looked for unit by unit, so that the second byte of a UTF-16 character
    // is never taken for one. Shift-JIS uses no byte below 0x40 inside a character.
    const std::size_t unit = m_encoding == Encoding::kUtf16LeWithBom ? 2 : 1;
    const auto find = [bytes, unit](std::size_t from, char c) {
        for (; from + unit <= bytes.size(); from += unit) {
            if (bytes[from] == c && (unit == 1 || bytes[from + 1] == '\0'))
                return from;
        }
        return std::string_view::npos;
    };
    // As the system's profile functions: a line ends at a line feed (a carriage return
    // before it belongs to the line end); once no line feed follows, at a carriage return.
    std::vector<Line> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        Line line;
        line.changed = false;
        std::size_t end = find(start, '\n');
        std::size_t next = end + unit;
        if (end != std::string_view::npos) {
            const bool carriageReturn = end - start >= unit && (end - start) % unit == 0 &&
                                        bytes[end - unit] == '\r' &&
                                        (unit == 1 || bytes[end - unit + 1] == '\0');
            line.end = carriageReturn ? LineEnd::kCrLf : LineEnd::kLf;
            if (carriageReturn)
                end -= unit;
        } else if ((end = find(start, '\r')) != std::string_view::npos) {
            next = end + unit;
            line.end = LineEnd::kCr;
        } else {
            // The line runs to the end, an odd byte of UTF-16 included.
            end = next = bytes.size();
            line.end = LineEnd::kNone;
        }
        line.original = std::string(bytes.substr(start, end - start));
        lines.push_back(std::move(line));
        start = next;
    }
    const auto firstEnd = std::find_if(lines.begin(), lines.end(),
                                       [](const Line& line) { return line.end != LineEnd::kNone; });
    m_newLineEnd = firstEnd == lines.end() ? LineEnd::kCrLf : firstEnd->end;
    DecodeLines(bytes, lines);

    m_sections.assign(1, Section{});
    for (Line& line : lines) {
        const std::wstring_view raw(line.text);
        const std::wstring_view trimmed = Trim(raw);
        const std::size_t close = trimmed.rfind(L']');
        if (trimmed.starts_with(L'[') && close != std::wstring_view::npos) {
            Section section;
            section.name = Trim(trimmed.substr(1, close - 1));
            section.lines.push_back(std::move(line));
            m_sections.push_back(std::move(section));
            continue;
        }
        const std::size_t equals = raw.find(L'=');
        // Keys before the first section, comment lines and unclosed section headers are kept
        // but never looked up: a value with a "]" would turn such a "key" into a header.
        if (m_sections.size() > 1 && !trimmed.starts_with(L';') && !trimmed.starts_with(L'[') &&
            equals != std::wstring_view::npos) {
            line.key = Trim(raw.substr(0, equals));
            line.equals = equals;
        }
        m_sections.back().lines.push_back(std::move(line));
    }
}

void ProfileDocument::DecodeLines(std::string_view bytes, std::vector<Line>& lines) const {
    // One conversion for the whole text is much faster than one per line. Its line ends
    // match those of the bytes unless a decoder took one into a broken double-byte character;
    // then each line is decoded on its own.
    const std::wstring text = Decode(m_encoding, bytes);
    std::size_t position = 0;
    bool matches = true;
    for (Line& line : lines) {
        std::size_t end = text.size();
        if (line.end != LineEnd::kNone) {
            end = text.find(line.end == LineEnd::kCr ? L'\r' : L'\n', position);
            if (end == std::wstring::npos) {
                matches = false;
                break;
            }
        }
        std::wstring_view decoded(text.data() + position, end - position);
        if (line.end == LineEnd::kCrLf) {
            matches = decoded.ends_with(L'\r');
            decoded.remove_suffix(1);
        }
        // Lines that no line feed follows hold no line end of any kind.
        if (line.end == LineEnd::kCr || line.end == LineEnd::kNone)
            matches = matches && decoded.find_first_of(L"\r\n") == std::wstring_view::npos;
        if (!matches)
            break;
        line.text = decoded;
        position = end + 1;
    }
    if (matches && position >= text.size())
        return;
    for (Line& line : lines)
        line.text = Decode(m_encoding, line.original);
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

// Names in calls are trimmed as names in the file are: " Main " finds [Main].
const ProfileDocument::Section* ProfileDocument::FindSection(std::wstring_view name) const {
    const auto found = m_sectionIndex.find(UpperCaseName(Trim(name)));
    return found == m_sectionIndex.end() ? nullptr : &m_sections[found->second];
}

ProfileDocument::Section* ProfileDocument::FindSection(std::wstring_view name) {
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

std::optional<std::wstring> ProfileDocument::Get(std::wstring_view section,
                                                 std::wstring_view key) const {
    const Section* found = FindSection(section);
    if (!found)
        return std::nullopt;
    const auto line = found->keys.find(UpperCaseName(Trim(key)));
    if (line == found->keys.end())
        return std::nullopt;
    const Line& entry = found->lines[line->second];
    std::wstring_view value = Trim(std::wstring_view(entry.text).substr(entry.equals + 1));
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::wstring(value);
}

void ProfileDocument::Set(std::wstring_view section, std::wstring_view key,
                          std::wstring_view value) {
    const std::wstring_view name = Trim(key);
    const std::wstring valueText(FirstLine(value));
    if (m_sections.empty())
        m_sections.assign(1, Section{});
    Section* target = FindSection(section);
    if (!target) {
        Section added;
        added.name = Trim(section);
        added.lines.push_back(NewLine(L"[" + added.name + L"]"));
        m_sections.push_back(std::move(added));
        m_sectionIndex.emplace(UpperCaseName(m_sections.back().name), m_sections.size() - 1);
        target = &m_sections.back();
    }
    const std::wstring upperKey = UpperCaseName(name);
    const auto existing = target->keys.find(upperKey);
    if (existing != target->keys.end()) {
        // A value set as it reads leaves the line's bytes alone, even those its encoding
        // cannot decode, which a rewrite would replace.
        if (Get(section, name) == valueText)
            return;
        // The key keeps the spelling it has in the file.
        Line& line = target->lines[existing->second];
        line.text = line.key + L"=" + valueText;
        line.equals = line.key.size();
        line.original.clear();
        line.changed = true;
        return;
    }
    // After the section's last non-blank line, so that blank lines keep separating sections;
    // every key line lies before that point, so the key index stays valid.
    std::size_t position = target->lines.size();
    while (position > 1 && Trim(target->lines[position - 1].text).empty())
        --position;
    target->lines.insert(
        target->lines.begin() + static_cast<std::ptrdiff_t>(position),
        NewLine(std::wstring(name) + L"=" + valueText, std::wstring(name), name.size()));
    target->keys.emplace(upperKey, position);
}

ProfileDocument::Line ProfileDocument::NewLine(std::wstring text, std::wstring key,
                                               std::size_t equals) const {
    Line line;
    line.text = std::move(text);
    line.key = std::move(key);
    line.equals = equals;
    line.end = m_newLineEnd;
    return line;
}

void ProfileDocument::SetEncoding(Encoding encoding) {
    if (encoding == m_encoding)
        return;
    m_encoding = encoding;
    for (Section& section : m_sections) {
        for (Line& line : section.lines)
            line.changed = true;
    }
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
    std::string bytes(ByteOrderMark(m_encoding));
    // A run of changed lines is encoded at once: one conversion per run, not per line.
    std::wstring pending;
    const auto flush = [this, &bytes, &pending] {
        if (!pending.empty())
            bytes += Encode(m_encoding, pending);
        pending.clear();
    };
    // The end each line is written with. A line read without one gets the document's when
    // lines follow it. A carriage return alone ends a line only where no line feed follows,
    // so one read that way before a line feed added later gets a line feed.
    std::vector<const Line*> ordered;
    for (const Section& section : m_sections) {
        for (const Line& line : section.lines)
            ordered.push_back(&line);
    }
    std::vector<LineEnd> ends(ordered.size());
    bool feedFollows = false;
    for (std::size_t i = ordered.size(); i-- > 0;) {
        LineEnd end = ordered[i]->end;
        if (end == LineEnd::kNone && i + 1 < ordered.size())
            end = m_newLineEnd;
        if (end == LineEnd::kCr && feedFollows)
            end = LineEnd::kCrLf;
        ends[i] = end;
        feedFollows = feedFollows || end == LineEnd::kLf || end == LineEnd::kCrLf;
    }
    // Indexed by LineEnd.
    static constexpr std::wstring_view kEndTexts[] = {L"", L"\r", L"\n", L"\r\n"};
    const std::string encodedEnds[] = {{},
                                       Encode(m_encoding, kEndTexts[1]),
                                       Encode(m_encoding, kEndTexts[2]),
                                       Encode(m_encoding, kEndTexts[3])};
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        const Line& line = *ordered[i];
        if (line.changed) {
            pending += line.text;
        } else {
            flush();
            bytes += line.original;
        }
        const bool last = i + 1 == ordered.size();
        // Only a last line read can end in half a UTF-16 unit, which reads as nothing. Lines
        // that follow would be read out of step: the half unit goes.
        if (!last && pending.empty() && m_encoding == Encoding::kUtf16LeWithBom &&
            bytes.size() % 2 != 0)
            bytes.pop_back();
        const auto end = static_cast<std::size_t>(ends[i]);
        if (pending.empty())
            bytes += encodedEnds[end];
        else
            pending += kEndTexts[end];
    }
    flush();
    return bytes;
}

bool ProfileDocument::Save(const std::wstring& path) const {
    return static_cast<bool>(LocalFolders().For(path).WriteFileAtomically(path, ToBytes()));
}
