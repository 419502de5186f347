#ifndef LIRVA_DSP_EVENT_LOG_H
#define LIRVA_DSP_EVENT_LOG_H

// Appends one line (a newline is added) to the file named by LIRVA_DSP_LOG,
// if set: "open O_WRONLY", "ioctl SETFMT 32", "close bytes=... writes=...".
// printf-style.
void log_event(const char* format, ...) __attribute__((format(printf, 1, 2)));

#endif
