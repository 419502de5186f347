#ifndef LIRVA_SIMHOST_TREE_LOCK_H
#define LIRVA_SIMHOST_TREE_LOCK_H

#include <mutex>

// One lock for the whole widget tree: state changes from any thread and
// painting take it, so a paint never sees half of a change.
std::recursive_mutex& widgetTreeLock();

// Holds the tree lock for a scope.
using TreeLockGuard = std::lock_guard<std::recursive_mutex>;

// A painted property read or changed from any thread, under the tree lock.
// assignLocked returns whether the value changed, i.e. whether to repaint.
template <class T>
bool assignLocked(T& field, const T& value)
{
    TreeLockGuard lock(widgetTreeLock());
    if (field == value)
        return false;
    field = value;
    return true;
}

template <class T>
T readLocked(const T& field)
{
    TreeLockGuard lock(widgetTreeLock());
    return field;
}

#endif
