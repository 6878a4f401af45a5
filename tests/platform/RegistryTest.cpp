#include "platform/Registry.h"

#include "TempFolder.h"
#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace platform;

namespace {

class RegistryFile : public ::testing::Test {
protected:
    void Use(std::string_view text) {
        m_folder.WriteFile(L"registry.ini", text);
        setenv("RELAYDESK_REGISTRY", WideToUtf8(m_folder / L"registry.ini").c_str(), 1);
    }
    void TearDown() override { unsetenv("RELAYDESK_REGISTRY"); }
    TempFolder m_folder;
};

} // namespace

TEST_F(RegistryFile, ReadsValuesOfKeyPathSectionsWithoutRegardToCase) {
    Use("[SOFTWARE\\Hollowmere\\VQ Controller]\r\nDataPath = D:\\DATA\r\n"
        "[SOFTWARE\\Hollowmere\\VQ Controller\\Controller]\r\n");
    EXPECT_EQ(ReadMachineRegistryString(L"software\\hollowmere\\vq controller", L"datapath"), L"D:\\DATA");
    EXPECT_FALSE(ReadMachineRegistryString(L"SOFTWARE\\Hollowmere\\VQ Controller", L"Other"));
    EXPECT_TRUE(MachineRegistryKeyExists(L"SOFTWARE\\Hollowmere\\VQ Controller\\Controller"));
    EXPECT_FALSE(MachineRegistryKeyExists(L"SOFTWARE\\Hollowmere\\Missing"));
}

TEST_F(RegistryFile, MissingFileHasNoKeys) {
    setenv("RELAYDESK_REGISTRY", "/nonexistent/registry.ini", 1);
    EXPECT_FALSE(MachineRegistryKeyExists(L"SOFTWARE"));
    EXPECT_FALSE(ReadMachineRegistryString(L"SOFTWARE", L"DataPath"));
}
