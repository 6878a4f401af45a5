#pragma once
/// Libraries loaded at run time by name.

#include <string>

namespace platform {

/// Owns one loaded library; unloads it on destruction.
///
/// A Windows-style name ("QRM_UTIL.DLL") resolves on POSIX to the shared library of the
/// same base name in the program folder ("QRM_UTIL.so"); a name with a folder is used as
/// given, with its extension replaced the same way.
class DynamicLibrary {
public:
    DynamicLibrary() = default;
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    bool Load(const std::wstring& name);
    void Free();
    bool IsLoaded() const { return m_handle != nullptr; }
    /// The address of an exported symbol; null when absent or nothing is loaded.
    void* Symbol(const char* name) const;

    template <typename Function> Function Resolve(const char* name) const {
        return reinterpret_cast<Function>(Symbol(name));
    }

    /// The file that `Load(name)` would open.
    static std::wstring ResolvePath(const std::wstring& name);

private:
    void* m_handle = nullptr;
};

} // namespace platform
