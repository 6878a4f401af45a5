#pragma once
/// An INI text held in memory, read and changed by the rules of the Windows profile
/// functions: section and key names match without regard to case; the first of duplicate
/// sections, and the first of duplicate keys in a section, is the one that counts; blanks
/// around names and values are trimmed; one pair of enclosing double or single quotes is
/// removed from a value read; a line that opens with "[" is a section header or, without
/// "]", no entry at all; a line ends at a line feed or, where no line feed follows, at a
/// carriage return. Every line that is not changed (comments, blank lines, lines
/// without "=", lines before the first section, keys not set) is written back with the bytes
/// it was read with, line end included, even bytes its encoding cannot decode; only changed
/// and added lines are encoded, in the file's encoding (UTF-8, UTF-8 or UTF-16 with byte-order
/// mark, Shift-JIS) and line end; half a UTF-16 unit at the end of the text, which reads as
/// nothing, is dropped when lines are added after it. The encoding is detected from the bytes
/// each time they are read, never recorded: a text read as Shift-JIS only because one line is
/// not UTF-8 reads as UTF-8 once that line is changed or removed. Sections and keys are indexed, so
/// lookups stay fast on files of thousands of sections. Not synchronised: one thread at a time.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class FileSystem;

class ProfileDocument {
public:
    /// A new file, and one of ASCII only, is UTF-8 on every platform, never the Windows ANSI
    /// code page: that cannot hold every character (a Western one has no Japanese), and its
    /// bytes would be read back as Shift-JIS; so a file also moves between a Linux and a
    /// Windows controller unchanged.
    enum class Encoding { kUtf8, kUtf8WithBom, kUtf16LeWithBom, kShiftJis };

    /// Reads a file of this machine; false when it cannot be read (the document is then
    /// empty, ready to be written as a new file).
    bool Load(const std::wstring& path);
    /// Load through a given backend (a file on a share).
    bool Load(FileSystem& fileSystem, const std::wstring& path);
    /// Takes the bytes of an INI file, detecting its encoding and line ends.
    void LoadFromBytes(std::string_view bytes);

    /// The value of a key, quotes removed; nullopt when the section or key is missing.
    std::optional<std::wstring> Get(std::wstring_view section, std::wstring_view key) const;
    /// Replaces the value in place, or adds the key after the section's last non-blank line,
    /// or adds the section at the end of the text.
    void Set(std::wstring_view section, std::wstring_view key, std::wstring_view value);
    /// False when there was no such key.
    bool RemoveKey(std::wstring_view section, std::wstring_view key);
    /// Removes the section with its lines; false when there was none.
    bool RemoveSection(std::wstring_view section);
    bool HasSection(std::wstring_view section) const;

    /// Section names in file order, each once (as first written).
    std::vector<std::wstring> SectionNames() const;
    /// Key names of a section in file order, each once.
    std::vector<std::wstring> Keys(std::wstring_view section) const;

    /// The text in its encoding with its line ends.
    std::string ToBytes() const;
    /// Writes the text as one step (temporary file, then rename); false on failure.
    bool Save(const std::wstring& path) const;

    Encoding GetEncoding() const { return m_encoding; }
    /// A different encoding re-encodes every line when the text is written.
    void SetEncoding(Encoding encoding);

private:
    /// In this order: ToBytes indexes by it.
    enum class LineEnd {
        kNone,
        /// A carriage return alone, where no line feed follows in the text.
        kCr,
        kLf,
        kCrLf,
    };
    struct Line {
        /// The line without its line end, decoded.
        std::wstring text;
        /// Key name (trimmed) when the line is "key=value" in a section, else empty.
        std::wstring key;
        /// Position of the "=" in `text` when `key` is set.
        std::size_t equals = 0;
        /// The bytes the line was read with, without line end; unused once `changed`.
        std::string original;
        /// True for a line set or added since it was read: it is written from `text`.
        bool changed = true;
        LineEnd end = LineEnd::kNone;
    };
    struct Section {
        std::wstring name;
        /// The header line first (none for the lines before the first section).
        std::vector<Line> lines;
        /// Upper-cased key -> index of its first line.
        std::unordered_map<std::wstring, std::size_t> keys;
    };

    /// A line to be added: written from its text, with the document's line end.
    Line NewLine(std::wstring text, std::wstring key = {}, std::size_t equals = 0) const;
    /// Splits text after the byte-order mark into lines, keeping each line's bytes.
    void ReadLines(std::string_view bytes);
    /// Sets the text of lines read from `bytes`.
    void DecodeLines(std::string_view bytes, std::vector<Line>& lines) const;
    const Section* FindSection(std::wstring_view name) const;
    Section* FindSection(std::wstring_view name);
    static void IndexKeys(Section& section);
    void IndexSections();

    /// m_sections[0] holds the lines before the first section header.
    std::vector<Section> m_sections;
    /// Upper-cased section name -> index of its first occurrence.
    std::unordered_map<std::wstring, std::size_t> m_sectionIndex;
    Encoding m_encoding = Encoding::kUtf8;
    /// The end of added lines: that of the first line read with one, else CR LF.
    LineEnd m_newLineEnd = LineEnd::kCrLf;
};
