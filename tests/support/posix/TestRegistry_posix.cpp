#include "TestRegistry.h"

#include "platform/ProcessEnvironment.h"

TestRegistry::TestRegistry() {
    Use("");
}

TestRegistry::~TestRegistry() {
    platform::SetEnvironmentValue("RELAYDESK_REGISTRY", L"");
}

void TestRegistry::Use(std::string_view text) {
    m_folder.WriteFile(L"registry.ini", text);
    platform::SetEnvironmentValue("RELAYDESK_REGISTRY", m_folder / L"registry.ini");
}

void TestRegistry::Clear() {}
