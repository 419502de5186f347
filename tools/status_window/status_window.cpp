#include "status_window.h"
#include "widget_private.h"

#include <elabel.h>
#include <eprogress.h>
#include <status_widgets.h>

StatusWindow::StatusWindow() : window_(1)
{
    // Children belong to the window, which deletes them with itself.
    lb_TotalTime = new eLabel(&window_);
    lb_TT = new eLabel(&window_);
    lb_ElapsedTime = new eLabel(&window_);
    lb_ET = new eLabel(&window_);
    lb_title = new eLabel(&window_);
    lb_line3 = new eLabel(&window_);
    progress = new eProgress(&window_);
}

StatusWindow::~StatusWindow()
{
    lb_TotalTime = lb_TT = lb_ElapsedTime = lb_ET = lb_title = lb_line3 = nullptr;
    progress = nullptr;
}

std::string StatusWindow::describe() const
{
    auto text = [](const eLabel* label) { return internals(*label).getText(); };
    return "[" + text(lb_TotalTime) + text(lb_TT) + "] [" + text(lb_ElapsedTime) + text(lb_ET) + "] [" +
        std::to_string(internals(*progress).getPerc()) + "%]";
}
