#pragma once
/// A work folder with a small book in it, composed by the engine the way the program drives
/// it: through CZoRiEngine and the message protocol. Shared by the engine's tests.

#include <filesystem>
#include <string>
#include <vips/vips8>

#include "TempFolder.h"
#include "TestImages.h"
#include "composition/ZoRiEngine.h"
#include "platform/FileSystemCalls.h"
#include "platform/TextEncoding.h"

namespace engine_book {

using vips::VImage;

// 254 dots per inch is 10 pixels per millimetre, which keeps the arithmetic readable.
inline constexpr int kTenPixelsPerMm = 254;

/// Where the first inner spread of a book is written.
inline constexpr wchar_t kFirstSpread[] = L"TEMP/COMPOSITION_INFO/LAYOUTFINAL/cmb0001.jpg";

inline std::string Utf8(const std::wstring& path) {
    return platform::ToFsPath(path).string();
}

/// A work folder as the transfer prepares it: TEMP with COMPOSITION_INFO, CORRECT and CTML.
class WorkFolder {
public:
    WorkFolder() {
        StartTestImages();
        m_temp.MakeFolder(L"TEMP/COMPOSITION_INFO/LAYOUTFINAL");
        m_temp.MakeFolder(L"TEMP/COMPOSITION_INFO/COVERFINAL");
        m_temp.MakeFolder(L"TEMP/CORRECT");
        m_temp.MakeFolder(L"TEMP/CTML");
    }

    std::wstring Path(std::wstring_view relative) const { return m_temp / relative; }
    const TempFolder& Temp() const { return m_temp; }

    /// A picture anywhere below the temporary folder, from a vips image; its UTF-8 path.
    std::string WritePicture(std::wstring_view relative, const VImage& image) const {
        m_temp.MakeFolder(relative.substr(0, relative.rfind(L'/')));
        const std::string path = Utf8(m_temp / relative);
        image.cast(VIPS_FORMAT_UCHAR).jpegsave(path.c_str(), VImage::option()->set("Q", 95));
        return path;
    }

    /// The UTF-8 path of a file anywhere below the temporary folder, its folder made.
    std::string FilePath(std::wstring_view relative) const {
        if (const std::size_t slash = relative.rfind(L'/'); slash != std::wstring_view::npos)
            m_temp.MakeFolder(relative.substr(0, slash));
        return Utf8(m_temp / relative);
    }

    /// A link at `link` to `target`, both below the temporary folder.
    void Link(std::wstring_view target, std::wstring_view link) const {
        std::filesystem::create_symlink(platform::ToFsPath(Path(target)),
                                        platform::ToFsPath(Path(link)));
    }

    void WriteFormats(std::string_view text) const {
        m_temp.WriteFile(L"TEMP/CTML/QrmFormat.ini", text);
    }

    /// The composition file; "@" stands for the work folder's COMPOSITION_INFO path.
    void WriteComposition(std::string text) const {
        const std::string info = Utf8(m_temp / L"TEMP/COMPOSITION_INFO");
        for (std::size_t at = text.find('@'); at != std::string::npos;
             at = text.find('@', at + info.size()))
            text.replace(at, 1, info);
        m_temp.WriteFile(L"TEMP/COMPOSITION_INFO/QrmZoInRi.ini", text);
    }

    EngineRunParams Params(int dotsPerInch) const {
        EngineRunParams params;
        params.startValue = dotsPerInch;
        params.SetCompositionInfoPath(Path(L"TEMP/COMPOSITION_INFO/QrmZoInRi.ini"));
        params.SetDataPath(Path(L"TEMP/CTML"));
        return params;
    }

    int Compose(int dotsPerInch = kTenPixelsPerMm) const {
        CZoRiEngine adapter;
        if (adapter.Prepare() != 0)
            return -100;
        EngineRunParams params = Params(dotsPerInch);
        return adapter.Run(&params);
    }

private:
    TempFolder m_temp;
};

inline VImage Solid(int width, int height, std::vector<double> rgb) {
    return VImage::black(width, height).new_from_image(rgb);
}

inline std::string ZoInfo(int pages, int pictures, const std::string& extra = "") {
    return "[ZO_INFO]\nPAGE_CNT=" + std::to_string(pages) +
           "\nPICT_CNT=" + std::to_string(pictures) +
           "\nOUTPUT_PATH=@\\LAYOUTFINAL\nOUTPUT_PATH2=@\\COVERFINAL\nIMAGE_FIT=0\n"
           "FORMAT_FILE_NAME=QrmFormat.ini\nquality=92\n" +
           extra;
}

inline std::string Page(int number, const std::string& format, int pictures) {
    return "[PAGE_INFO" + std::to_string(number) + "]\nPICT_CNT=" + std::to_string(pictures) +
           "\nFORMAT_NO=" + format + "\n";
}

inline std::string Picture(int number, const std::string& file, int fileNumber,
                           const std::string& extra = "") {
    return "[PICT_INFO" + std::to_string(number) + "]\nFileName=" + file +
           "\nFILENUM=" + std::to_string(fileNumber) +
           "\nENLARGE=100\nmoveX=0\nmoveY=0\ndegree=0\n" + extra;
}

} // namespace engine_book
