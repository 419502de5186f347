#ifndef LIRVA_ENGINE_PLAY_OUTCOME_H
#define LIRVA_ENGINE_PLAY_OUTCOME_H

// Why the latest play ended, for a caller that wants to say why nothing (or
// not everything) was heard. The window shows no reasons; lirva-play does.
enum class PlayOutcome {
    none,            // no play yet, or one still running
    played,          // decoded to its end
    stopped,         // asked to stop
    no_device,       // the device could not be opened
    device_refused,  // the device accepted no format that can be sent to it
    unreadable,      // the file could not be opened as a regular file
    not_flac,        // no FLAC stream found in the file
    no_frame,        // no playable frame within the search bound
    unplayable,      // the device cannot play the stream's rate or channels
    device_failed,   // a write to the device failed
};

// Forgets the latest outcome: a new play begins.
void begin_play_outcome();

// Records why the play ends; the first reason given for a play is kept.
void note_play_outcome(PlayOutcome outcome);

PlayOutcome last_play_outcome();

#endif
