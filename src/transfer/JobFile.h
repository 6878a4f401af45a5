#pragma once
/// Cuts a DPOF print-order file (AUTPRINT.MRK) down to its header and the first N job
/// entries, so that the finished order prints only the images that were composed.

#include <cstddef>
#include <string>
#include <string_view>

class FileSystemResolver;

/// A line that is exactly "[JOB]" (case-sensitive, no blanks around it) opens a job entry;
/// every line before the first such line is header. Lines are copied as bytes, without
/// interpreting their encoding, and every written line ends with CR LF whatever the source
/// used (a bare LF and an unterminated last line are read as lines too).
///
/// CutToJobs gives the header and the first `jobCount` entries of a print-order file's bytes
/// (a negative count keeps the header only): what CopyJobs writes.
std::string CutToJobs(std::string_view source, int jobCount);

class JobFile {
public:
    /// Larger sources are refused: a real print-order file holds a few kilobytes per job.
    static constexpr std::size_t kMaxSourceBytes = std::size_t{64} * 1024 * 1024;

    JobFile() = default;
    virtual ~JobFile() = default;

    void SetPath(const std::wstring& path) { m_strPath = path; }
    const std::wstring& GetPath() const { return m_strPath; }

    /// Writes the header and the first `jobCount` entries of the source into `destination`,
    /// replacing it in one step (it may be the source itself); a negative count keeps the
    /// header only. Both files go through the file-system backend of their path, since the
    /// destination lies in a terminal's output folder. Returns false, changing nothing, when
    /// the source cannot be read or the destination cannot be written (both logged).
    [[nodiscard]] bool CopyJobs(FileSystemResolver& files, int jobCount,
                                const std::wstring& destination) const;

private:
    std::wstring m_strPath;
};
