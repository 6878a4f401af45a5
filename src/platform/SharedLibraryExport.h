#pragma once
/// Marks a C entry point of a shared library that the program loads by name: exported from
/// a DLL on Windows, visible in an ELF library built with hidden visibility elsewhere.

#ifdef _WIN32
#define RELAYDESK_EXPORT extern "C" __declspec(dllexport)
#else
#define RELAYDESK_EXPORT extern "C" __attribute__((visibility("default")))
#endif
