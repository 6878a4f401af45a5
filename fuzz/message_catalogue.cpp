// Message catalogues from the input: every text is cut to the read buffer, the free-disk and
// progress texts hold no "%d" once it is replaced, a status template without "%s" gives
// itself for every status, and the font face is cut to 31 characters with one of the two
// heights.

#include "FuzzSupport.h"

#include "config/MessageCatalogue.h"
#include "config/TextSubstitution.h"
#include "platform/FileSystemCalls.h"

namespace {

constexpr std::size_t kReadLength = 259;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const auto freeDisk = input.ConsumeIntegral<std::uint32_t>();
    const int percent = input.ConsumeIntegralInRange<int>(-1, 101);
    const std::filesystem::path path = ScratchFolder() / "MSG_FUZZ.ini";
    WriteScratchFile(path, input.ConsumeRemainingBytesAsString());
    const std::wstring catalogue = platform::FromFsPath(path);

    const MainWindowTexts texts = ReadMainWindowTexts(catalogue, freeDisk);
    for (std::size_t i = 0; i < texts.messages.size(); ++i) {
        const std::wstring& text = texts.messages[i];
        if (kEditDialogMessages[i] == kMsgEditFreeDisk)
            Check(text.find(L"%d") == std::wstring::npos, "the free-disk text is filled in", text);
        else
            Check(text.size() <= kReadLength, "catalogue texts are cut to the buffer", text);
    }
    const std::wstring statusFormat = ReadCatalogueText(catalogue, kMsgStatusFormat);
    if (statusFormat.find(L"%s") == std::wstring::npos)
        for (std::size_t status = 1; status < texts.statusTexts.size(); ++status)
            Check(texts.statusTexts[status] == statusFormat,
                  "a status template without %s is every status's text");
    const std::wstring progress = FormatProgressText(texts.progressFormat, percent);
    Check(progress.find(L"%d") == std::wstring::npos, "the progress text is filled in", progress);

    const CatalogueFont font = MakeCatalogueFont(ReadCatalogueText(catalogue, kMsgFontFace));
    Check(font.faceName.size() <= 31 && (font.height == 12 || font.height == 15),
          "the font face fits a logical font");
    return 0;
}
