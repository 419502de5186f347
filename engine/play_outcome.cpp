#include "play_outcome.h"

#include <atomic>

namespace {
// Written by the play thread, read by whoever waited for its end.
std::atomic<PlayOutcome> outcome{PlayOutcome::none};
}  // namespace

void begin_play_outcome()
{
    outcome = PlayOutcome::none;
}

void note_play_outcome(PlayOutcome reason)
{
    PlayOutcome expected = PlayOutcome::none;
    outcome.compare_exchange_strong(expected, reason);
}

PlayOutcome last_play_outcome()
{
    return outcome;
}
