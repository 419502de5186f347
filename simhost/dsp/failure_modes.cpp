#include "failure_modes.h"

#include <errno.h>

#include <cstdlib>
#include <cstring>

namespace {

bool asked_for(const char* failure)
{
    const char* asked = getenv("LIRVA_DSP_FAIL");
    return asked != nullptr && strcmp(asked, failure) == 0;
}

}  // namespace

bool sim_fails_open()
{
    if (!asked_for("open"))
        return false;
    errno = EBUSY;
    return true;
}

int sim_write_failure()
{
    return asked_for("write") ? EIO : asked_for("eintr") ? EINTR : 0;
}
