#pragma once
/// Cuts a DPOF print-order file (AUTPRINT.MRK) down to its header and the first N job
/// entries, so that the finished order prints only the images that were composed.

#include <string>

/// A line that is exactly "[JOB]" (case-sensitive, no blanks around it) opens a job entry;
/// every line before the first such line is header. Lines are copied as bytes, without
/// interpreting their encoding, and every written line ends with CR LF whatever the source
/// used (a bare LF and an unterminated last line are read as lines too).
class JobFile {
public:
    JobFile() = default;
    virtual ~JobFile() = default;

    void SetPath(const std::wstring& path) { m_strPath = path; }
    const std::wstring& GetPath() const { return m_strPath; }

    /// Writes the header and the first `jobCount` entries of the source into `destination`
    /// (truncating it); a negative count keeps the header only. Returns false, writing
    /// nothing, when the source cannot be read or is the destination itself; returns false
    /// and removes the partial copy when the destination cannot be written completely.
    bool CopyJobs(int jobCount, const std::wstring& destination) const;

private:
    std::wstring m_strPath;
};
