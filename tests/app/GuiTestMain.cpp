// The GUI tests run inside the program's own application object, on a display.
#include "app/RelaydeskApp.h"

#include <gtest/gtest.h>

#include <wx/init.h>

#include <cstdio>

namespace {

// A failed toolkit assertion is a failed test, not a message box that nobody closes.
void FailOnAssert(const wxString& file, int line, const wxString& function,
                  const wxString& condition, const wxString& message) {
    ADD_FAILURE_AT(file.utf8_str(), line) << "toolkit assertion in " << function.utf8_str() << ": "
                                          << condition.utf8_str() << " " << message.utf8_str();
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new CRelaydeskApp);
    if (!wxEntryStart(argc, argv)) {
        std::fprintf(stderr, "app_tests: the window toolkit could not start (no display?)\n");
        return 1;
    }
    wxSetAssertHandler(FailOnAssert);
    wxTheApp->CallOnInit();
    int result = RUN_ALL_TESTS();
    wxEntryCleanup();
    return result;
}
