/* ProcessPrng over BCryptGenRandom, for running the tests under wine 8, which lacks
 * bcryptprimitives.dll: the Windows libvips imports ProcessPrng from it, as Windows 10 and 11
 * provide it. Only the tests use it; it is never installed. */
#include "platform/win32/WindowsHeaders.h"

#include <bcrypt.h>
#include <limits.h>

BOOL WINAPI ProcessPrng(PBYTE data, SIZE_T size) {
    while (size > 0) {
        const ULONG chunk = size > ULONG_MAX ? ULONG_MAX : (ULONG)size;
        if (!BCRYPT_SUCCESS(BCryptGenRandom(NULL, data, chunk, BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
            return FALSE;
        data += chunk;
        size -= chunk;
    }
    return TRUE;
}
