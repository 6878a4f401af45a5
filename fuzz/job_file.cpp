// The print-order file cut: the header (every line before the first "[JOB]") is kept, at most
// N job entries follow, each kept line is a source line in order, every line ends in CR LF,
// and cutting the result again to the same count changes nothing.

#include "FuzzSupport.h"

#include "transfer/JobFile.h"

#include <vector>

namespace {

/// Lines split at LF, one CR before it removed; an unterminated last line counts.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t feed = text.find('\n');
        std::string_view line = text.substr(0, feed);
        text = feed == std::string_view::npos ? std::string_view() : text.substr(feed + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.push_back(line);
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int jobCount = input.ConsumeIntegralInRange<int>(-2, 8);
    const std::string source = input.ConsumeRemainingBytesAsString();

    const std::string cut = CutToJobs(source, jobCount);
    Check(cut.empty() || cut.ends_with("\r\n"), "the last line ends in CR LF");
    for (std::size_t at = cut.find('\n'); at != std::string::npos; at = cut.find('\n', at + 1))
        Check(at > 0 && cut[at - 1] == '\r', "every line ends in CR LF");

    const std::vector<std::string_view> sourceLines = Lines(source);
    const std::vector<std::string_view> cutLines = Lines(cut);
    Check(cutLines.size() <= sourceLines.size(), "no line is added");
    int jobs = 0;
    bool inHeader = true;
    for (std::size_t i = 0; i < cutLines.size(); ++i) {
        Check(cutLines[i] == sourceLines[i], "the kept lines are the source's first lines");
        if (cutLines[i] == "[JOB]") {
            ++jobs;
            inHeader = false;
        }
    }
    Check(jobs <= std::max(jobCount, 0), "at most N job entries");
    if (cutLines.size() < sourceLines.size())
        Check(sourceLines[cutLines.size()] == "[JOB]" && !(inHeader && jobCount > 0),
              "the cut ends only before a job entry beyond the first N");
    Check(CutToJobs(cut, jobCount) == cut, "cutting again changes nothing");
    return 0;
}
