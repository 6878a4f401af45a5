#include "SpecialFiles.h"

// Windows folders hold no fifos or sockets.
bool MakeSpecialFile(const std::wstring&, SpecialFile) {
    return false;
}
