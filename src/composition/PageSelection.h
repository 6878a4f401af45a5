#pragma once
/// Which pages of a returned photo book are composed again: the spreads that show a
/// corrected picture, and the spreads without any used picture.

#include <cstdint>
#include <string>
#include <vector>

class CompositionInfo;

/// One keep flag (0 or 1) per page record. Pages form spreads of two (0-1, 2-3, ...), kept or
/// dropped together; an odd last page stands alone. A page is marked when one of its
/// pictures has the file name (the part after the last separator, compared exactly) of an
/// entry of `correctedImages`; a spread whose two pages hold no used picture is always kept,
/// and so is a book of exactly one page without used pictures. An odd last page without used
/// pictures in a longer book is kept only when corrected.
std::vector<std::uint8_t> ChoosePagesToKeep(const CompositionInfo& info,
                                            const std::vector<std::wstring>& correctedImages);
