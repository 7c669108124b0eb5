#include "Platform/Guid.h"

#include <cerrno>
#include <cstring>
#include <sys/random.h>

HRESULT CoCreateGuid(GUID* guid)
{
    if (!guid)
        return E_FAIL;
    static_assert(sizeof(GUID) == 16, "a GUID is 128 bits");
    unsigned char bytes[sizeof(GUID)];
    size_t done = 0;
    while (done < sizeof bytes) {
        const ssize_t n = getrandom(bytes + done, sizeof bytes - done, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return E_FAIL;
        done += size_t(n);
    }
    std::memcpy(guid, bytes, sizeof bytes);
    return S_OK;
}
