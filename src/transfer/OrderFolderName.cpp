#include "transfer/OrderFolderName.h"

#include <cstdio>

std::wstring OrderDigits(int orderNumber) {
    wchar_t digits[16] = {};
    std::swprintf(digits, 16, L"%07d", orderNumber);
    return digits;
}

std::wstring OrderFolderName(wchar_t letter, int orderNumber) {
    return std::wstring(1, letter) + OrderDigits(orderNumber);
}

bool ParseOrderFolderName(const std::wstring& name, int& orderNumber) {
    if (name.size() != 8)
        return false;
    int number = 0;
    for (size_t i = 1; i < 8; ++i) {
        if (name[i] < L'0' || name[i] > L'9')
            return false;
        number = number * 10 + (name[i] - L'0');
    }
    orderNumber = number;
    return true;
}

std::wstring NameWithoutExtension(const std::wstring& name) {
    const size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? name : name.substr(0, dot);
}
