#include "platform/Registry.h"

#include "TestRegistry.h"
#include "platform/ProcessEnvironment.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

class RegistryFile : public ::testing::Test {
protected:
    void Use(std::string_view text) { m_registry.Use(text); }
    TestRegistry m_registry;
};

} // namespace

TEST_F(RegistryFile, ReadsValuesOfKeyPathSectionsWithoutRegardToCase) {
    Use("[SOFTWARE\\Hollowmere\\VQ Controller]\r\nDataPath = D:\\DATA\r\n"
        "[SOFTWARE\\Hollowmere\\VQ Controller\\Controller]\r\n");
    EXPECT_EQ(ReadMachineRegistryString(L"software\\hollowmere\\vq controller", L"datapath"),
              L"D:\\DATA");
    EXPECT_FALSE(ReadMachineRegistryString(L"SOFTWARE\\Hollowmere\\VQ Controller", L"Other"));
    EXPECT_TRUE(MachineRegistryKeyExists(L"SOFTWARE\\Hollowmere\\VQ Controller\\Controller"));
    EXPECT_FALSE(MachineRegistryKeyExists(L"SOFTWARE\\Hollowmere\\Missing"));
}

TEST_F(RegistryFile, MissingFileHasNoKeys) {
    platform::SetEnvironmentValue("RELAYDESK_REGISTRY", L"/nonexistent/registry.ini");
    EXPECT_FALSE(MachineRegistryKeyExists(L"SOFTWARE\\Hollowmere"));
    EXPECT_FALSE(ReadMachineRegistryString(L"SOFTWARE", L"DataPath"));
}
