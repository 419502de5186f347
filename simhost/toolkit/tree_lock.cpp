// The widget tree's one lock.
#include "tree_lock.h"

std::recursive_mutex& widgetTreeLock()
{
    // Built on first use, so widgets created during static initialisation work.
    static std::recursive_mutex lock;
    return lock;
}
