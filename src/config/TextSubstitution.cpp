#include "config/TextSubstitution.h"

std::wstring ReplaceAll(std::wstring text, const std::wstring& find,
                        const std::wstring& replacement) {
    if (find.empty())
        return text;
    for (size_t at = text.find(find); at != std::wstring::npos;
         at = text.find(find, at + replacement.size()))
        text.replace(at, find.size(), replacement);
    return text;
}
