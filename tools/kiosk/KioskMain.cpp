// relaydesk-kiosk: writes photo-book orders into a terminal's input folder as a kiosk does.

#include <CLI/CLI.hpp>

#include <iostream>
#include <sstream>

#include "KioskOrder.h"
#include "SyntheticPhoto.h"
#include "platform/CommandLine.h"
#include "platform/TextEncoding.h"

namespace {

bool ParseNumbers(const std::string& text, std::vector<int>& numbers) {
    std::stringstream stream(text);
    std::string item;
    while (std::getline(stream, item, ',')) {
        try {
            std::size_t used = 0;
            int number = std::stoi(item, &used);
            if (used != item.size() || number < 1)
                return false;
            numbers.push_back(number);
        } catch (const std::exception&) {
            return false;
        }
    }
    return !numbers.empty();
}

} // namespace

static int RunCommandLine(int argc, char** argv) {
    CLI::App app{"Writes photo-book orders into a terminal's input folder, as a kiosk does."};
    std::string input;
    std::string uniqueId;
    std::string correct;
    kiosk::OrderRequest request;
    app.add_option("--input", input, "the terminal's input folder")
        ->required()
        ->check(CLI::ExistingDirectory);
    app.add_option("--order", request.orderNumber, "order number (0-9999999)")->required();
    app.add_option("--pages", request.pages, "pages of the book; the first two are the cover")
        ->capture_default_str();
    app.add_option("--photos-per-page", request.photosPerPage, "photos on each inner page (1-12)")
        ->capture_default_str();
    app.add_option("--megapixels", request.megapixels, "size of each photo")->capture_default_str();
    app.add_option("--page-scale", request.pageScale, "A4 pages shrunk by this factor (0.05-1)")
        ->check(CLI::Range(0.05, 1.0))
        ->capture_default_str();
    app.add_option("--unique-id", uniqueId, "the controller the order is meant for");
    app.add_option("--seed", request.seed, "makes the photos and placements repeatable")
        ->capture_default_str();
    app.add_option("--correct", correct,
                   "send the transferred order back with these pictures corrected (I,J,...)");
    CLI11_PARSE(app, argc, argv);

    if (!kiosk::StartImages()) {
        std::cerr << "relaydesk-kiosk: the image library cannot start\n";
        return 2;
    }
    request.inputFolder = platform::Utf8ToWide(input);
    request.uniqueId = platform::Utf8ToWide(uniqueId);
    std::wstring error;
    bool done = false;
    if (!correct.empty()) {
        std::vector<int> numbers;
        if (!ParseNumbers(correct, numbers)) {
            std::cerr << "relaydesk-kiosk: --correct takes picture numbers like 1,3\n";
            return 1;
        }
        done = kiosk::SendCorrection(request.inputFolder, request.orderNumber, numbers, error);
    } else {
        done = kiosk::WriteOrder(request, error);
    }
    if (!done) {
        std::cerr << "relaydesk-kiosk: " << platform::WideToUtf8(error) << "\n";
        return 1;
    }
    return 0;
}

int main(int argc, char** argv) {
    return platform::RunGuarded("relaydesk-kiosk", [&] { return RunCommandLine(argc, argv); });
}
