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

bool sim_fails_write()
{
    if (!asked_for("write"))
        return false;
    errno = EIO;
    return true;
}
