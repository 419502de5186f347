#ifndef LIRVA_SIMHOST_APP_KEY_SCRIPT_H
#define LIRVA_SIMHOST_APP_KEY_SCRIPT_H

#include <optional>
#include <string>
#include <vector>

#include "erckey.h"

// One step of a headless session: press a key, let time pass, print the
// screen, move the list's cursor to an entry found by its text, or wait
// until the screen shows a text.
struct ScriptStep {
    enum class Kind { key, wait, print, to, await };
    Kind kind = Kind::key;
    eRCKey key = eRCKey::ok;  // for Kind::key
    int waitMs = 0;           // for Kind::wait
    std::string entry;        // for Kind::to and Kind::await

    static ScriptStep press(eRCKey k) { return {Kind::key, k, 0, {}}; }
    static ScriptStep wait(int ms) { return {Kind::wait, eRCKey::ok, ms, {}}; }
    static ScriptStep print() { return {Kind::print, eRCKey::ok, 0, {}}; }
    static ScriptStep to(std::string text) { return {Kind::to, eRCKey::ok, 0, std::move(text)}; }
    static ScriptStep await(std::string text) { return {Kind::await, eRCKey::ok, 0, std::move(text)}; }
    bool operator==(const ScriptStep& o) const
    {
        return kind == o.kind && (kind != Kind::key || key == o.key) && (kind != Kind::wait || waitMs == o.waitMs) &&
            entry == o.entry;
    }
};

// The longest wait a step may ask for: an hour.
constexpr int kMaxWaitMs = 3600 * 1000;

struct ParsedScript {
    std::vector<ScriptStep> steps;
    std::string error;  // empty when the whole text was valid
    bool ok() const { return error.empty(); }
};

// Parses steps separated by white space or newlines; '#' starts a comment
// that runs to the end of its line. Words: up, down, left, right, pgup,
// pgdown, ok, exit, red, green, yellow, blue, wait=MS, print, to=TEXT and
// await=TEXT, which take the rest of their line (blanks too): to= moves the
// cursor onto the list entry with that text with up/down keys, await= waits
// until the screen shows the text (a minute at most). The first
// invalid word makes the whole script invalid; the error names it and its
// line.
ParsedScript parseScript(const std::string& text);

// The key a script word names, if any.
std::optional<eRCKey> keyNamed(const std::string& word);

#endif
