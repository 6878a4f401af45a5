#pragma once
/// Writes photo-book orders into a terminal's input folder as a kiosk does, and sends
/// transferred orders back with corrected pictures.

#include <cstdint>
#include <string>
#include <vector>

namespace kiosk {

struct OrderRequest {
    std::wstring inputFolder;
    int orderNumber = 0;
    int pages = 6;         ///< the first two form the cover spread
    int photosPerPage = 2; ///< inner pages; the cover's front holds one photo
    double megapixels = 2.0;
    double pageScale = 1.0; ///< A4 pages shrunk by this factor, for quick compositions
    std::wstring uniqueId;
    std::uint32_t seed = 1;
};

/// A quick order: four pages of one small photo each on shrunk pages, for a check that needs
/// an order to pass through but not how its book looks.
OrderRequest QuickOrder(std::wstring inputFolder, int orderNumber);

/// Builds "r" + number under a temporary name and renames it into place; false with a
/// message in `error` when anything fails (the temporary folder is then removed).
bool WriteOrder(const OrderRequest& request, std::wstring& error);

/// Puts visibly changed copies of the numbered pictures of the transferred order
/// "e" + number into its CORRECT folder and renames it back to "r" + number.
bool SendCorrection(const std::wstring& inputFolder, int orderNumber,
                    const std::vector<int>& pictureNumbers, std::wstring& error);

/// "IMG-0001.jpg" for 1.
std::wstring PictureName(int number);

} // namespace kiosk
