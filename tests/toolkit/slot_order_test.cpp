#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "ethread.h"
#include "ewindow.h"

// The virtual operations of the toolkit's classes sit in the table slots
// the box's toolkit gives them: a plug-in calls and overrides them by slot,
// so one out of place would call the wrong operation on the box.

namespace {

// The slot of a virtual member function. In the C++ ABI of gcc and clang on
// x86 and PowerPC, a pointer to one holds 1 + its byte offset in the table.
template <class Pointer>
std::ptrdiff_t slotOf(Pointer member)
{
    struct Representation {
        std::ptrdiff_t ptr, adj;
    } r;
    static_assert(sizeof member == sizeof r);
    std::memcpy(&r, &member, sizeof r);
    EXPECT_EQ(r.ptr % 2, 1) << "not a virtual member";
    return (r.ptr - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

// Derived classes may name the protected operations; the two destructor
// entries take slots 0 and 1.
struct WidgetSlots : eWidget {
    static std::vector<std::ptrdiff_t> get()
    {
        return {slotOf(&WidgetSlots::willShow),        slotOf(&WidgetSlots::willHide),
                slotOf(&WidgetSlots::setPalette),      slotOf(&WidgetSlots::eventFilter),
                slotOf(&WidgetSlots::keyDown),         slotOf(&WidgetSlots::keyUp),
                slotOf(&WidgetSlots::gotFocus),        slotOf(&WidgetSlots::lostFocus),
                slotOf(&WidgetSlots::recalcClientRect), slotOf(&WidgetSlots::eventHandler),
                slotOf(&WidgetSlots::redrawWidget),    slotOf(&WidgetSlots::eraseBackground),
                slotOf(&WidgetSlots::setProperty)};
    }
};

// The same names through the window: its own six where the widget has them.
struct WindowSlots : eWindow {
    static std::vector<std::ptrdiff_t> get()
    {
        return {slotOf(&WindowSlots::willShow),        slotOf(&WindowSlots::willHide),
                slotOf(&WindowSlots::setPalette),      slotOf(&WindowSlots::eventFilter),
                slotOf(&WindowSlots::keyDown),         slotOf(&WindowSlots::keyUp),
                slotOf(&WindowSlots::gotFocus),        slotOf(&WindowSlots::lostFocus),
                slotOf(&WindowSlots::recalcClientRect), slotOf(&WindowSlots::eventHandler),
                slotOf(&WindowSlots::redrawWidget),    slotOf(&WindowSlots::eraseBackground),
                slotOf(&WindowSlots::setProperty)};
    }
};

struct ThreadSlots : eThread {
    static std::vector<std::ptrdiff_t> get()
    {
        return {slotOf(&ThreadSlots::thread), slotOf(&ThreadSlots::thread_finished)};
    }
};

}  // namespace

TEST(TableSlots, WidgetWindowAndThreadOperationsFollowTheirDestructorInTheGivenOrder)
{
    const std::vector<std::ptrdiff_t> widgetOrder{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    EXPECT_EQ(WidgetSlots::get(), widgetOrder);
    EXPECT_EQ(WindowSlots::get(), widgetOrder);
    EXPECT_EQ(ThreadSlots::get(), (std::vector<std::ptrdiff_t>{2, 3}));
}
