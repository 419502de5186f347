#ifndef LIRVA_SIMHOST_TREE_LOCK_H
#define LIRVA_SIMHOST_TREE_LOCK_H

#include <mutex>

// One lock for the whole widget tree: state changes from any thread and
// painting take it, so a paint never sees half of a change.
std::recursive_mutex& widgetTreeLock();

// Holds the tree lock for a scope.
using TreeLockGuard = std::lock_guard<std::recursive_mutex>;

#endif
