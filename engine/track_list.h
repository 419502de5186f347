#ifndef LIRVA_ENGINE_TRACK_LIST_H
#define LIRVA_ENGINE_TRACK_LIST_H

#include <string>

// The tracks of a run: the FLAC files of one folder in the browser's order
// (names compared byte by byte), as the browser lists them: regular files,
// not links, whose names end in ".flac" in any letter case.

// True for a name the browser lists as a FLAC file (the kind of the node
// aside).
bool is_flac_name(const char* name);

// The path of the FLAC file that follows `path` in its folder, or "" when
// it is the last one (or the folder cannot be read). `path` itself need no
// longer exist. The folder is read anew each time, so files added or
// removed while a run plays are seen.
std::string next_track(const std::string& path);

#endif
