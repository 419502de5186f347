#ifndef LIRVA_ENGINE_DECODER_SESSION_H
#define LIRVA_ENGINE_DECODER_SESSION_H

// One open-decode-close cycle of a libFLAC decoder on one file, kept in
// file_info. At most one session exists at a time; the functions may run on
// any thread, but not on two at once.

// Opens a session on `path`: creates the decoder, reads the metadata and
// shows the time captions. Returns 1 when the session is open
// (file_info.is_playing set), 0 when opening failed (no decoder is kept).
int decoder_constructor(const char* path);

// Plays `path` to its end, or until the play thread is asked to stop, and
// closes the session in every case.
void play_file(const char* path);

// Decodes the open session to the end of its stream; false when it ended
// sooner (stopped, or a read or device write failed).
bool decode_to_end();

// Closes the session: deletes the decoder if one is held, resets the
// record, clears the status display and closes the audio device. Safe to
// call again on a closed session.
void decoder_destructor();

// The same close, but the audio device stays open for the next track.
void decoder_close_session();

#endif
