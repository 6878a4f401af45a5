#include "fileutil/FileSystemResolver.h"

#include "fileutil/UnreachableFileSystem.h"

namespace {

class LocalFolderResolver final : public FileSystemResolver {
public:
    FileSystem& For(std::wstring_view path) override {
        if (IsNetworkPath(path))
            return m_unreachable;
        return LocalFileSystem();
    }

private:
    UnreachableFileSystem m_unreachable;
};

} // namespace

FileSystemResolver& LocalFolders() {
    static LocalFolderResolver resolver;
    return resolver;
}
