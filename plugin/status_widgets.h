#ifndef LIRVA_PLUGIN_STATUS_WIDGETS_H
#define LIRVA_PLUGIN_STATUS_WIDGETS_H

#include <elabel.h>
#include <eprogress.h>

// The status widgets of the current window. Set by the window's constructor;
// valid until the window is destroyed.
extern eLabel* lb_TotalTime;    // "Total Time : "
extern eLabel* lb_TT;           // its value, mm:ss
extern eLabel* lb_ElapsedTime;  // "Elapsed Time : "
extern eLabel* lb_ET;           // its value, mm:ss
extern eLabel* lb_title;        // the window's lb_line1: artist – title of the playing file
extern eLabel* lb_line3;        // the playing file's format and the device's
extern eProgress* progress;

#endif
