#ifndef LIRVA_SIMHOST_APP_KEY_SCRIPT_H
#define LIRVA_SIMHOST_APP_KEY_SCRIPT_H

#include <optional>
#include <string>
#include <vector>

#include "erckey.h"

// One step of a headless session: press a key, let time pass, or print
// the screen.
struct ScriptStep {
    enum class Kind { key, wait, print };
    Kind kind = Kind::key;
    eRCKey key = eRCKey::ok;   // for Kind::key
    int waitMs = 0;            // for Kind::wait

    static ScriptStep press(eRCKey k) { return {Kind::key, k, 0}; }
    static ScriptStep wait(int ms) { return {Kind::wait, eRCKey::ok, ms}; }
    static ScriptStep print() { return {Kind::print, eRCKey::ok, 0}; }
    bool operator==(const ScriptStep& o) const {
        return kind == o.kind && (kind != Kind::key || key == o.key) && (kind != Kind::wait || waitMs == o.waitMs);
    }
};

// The longest wait a step may ask for: an hour.
constexpr int kMaxWaitMs = 3600 * 1000;

struct ParsedScript {
    std::vector<ScriptStep> steps;
    std::string error;   // empty when the whole text was valid
    bool ok() const { return error.empty(); }
};

// Parses steps separated by white space or newlines; '#' starts a comment
// that runs to the end of its line. Words: up, down, left, right, pgup,
// pgdown, ok, exit, red, green, yellow, blue, wait=MS, print. The first
// invalid word makes the whole script invalid; the error names it and its
// line.
ParsedScript parseScript(const std::string& text);

// The key a script word names, if any.
std::optional<eRCKey> keyNamed(const std::string& word);

#endif
