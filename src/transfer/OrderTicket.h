#pragma once
/// The order handed from the polling pass to the transfer.

#include <string>

struct OrderTicket {
    std::wstring orderFolder;  ///< input folder + separator + "r" + seven digits
    std::wstring inputFolder;  ///< the terminal's input folder as configured
    std::wstring outputFolder; ///< the terminal's output folder as configured
    int orderNumber = 0;
};
