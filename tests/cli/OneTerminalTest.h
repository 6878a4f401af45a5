#pragma once
/// A test with one switched-on terminal, 端末A, whose input and output folders lie beside a
/// program folder of its own.

#include "ControllerFolder.h"

#include <gtest/gtest.h>

#include <string>

class OneTerminalTest : public ::testing::Test {
protected:
    void SetUp() override {
        input = folder.Root() / L"端末A/input";
        output = folder.Root() / L"端末A/output";
        folder.AddTerminal(L"端末A", input, output);
    }

    /// relaydesk-cli run --until-idle; its console output in `console`.
    int RunUntilIdle() { return folder.RunCli("run --until-idle", &console); }

    ControllerFolder folder;
    std::wstring input, output;
    std::string console;
};
