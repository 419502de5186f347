#include "key_script.h"

#include <cctype>
#include <sstream>

namespace {

struct KeyName {
    const char* name;
    eRCKey key;
};

const KeyName kKeyNames[] = {
    {"up", eRCKey::up},       {"down", eRCKey::down},       {"left", eRCKey::left},     {"right", eRCKey::right},
    {"pgup", eRCKey::pageUp}, {"pgdown", eRCKey::pageDown}, {"ok", eRCKey::ok},         {"exit", eRCKey::exit},
    {"red", eRCKey::red},     {"green", eRCKey::green},     {"yellow", eRCKey::yellow}, {"blue", eRCKey::blue},
};

// Milliseconds written as plain decimal digits, at most kMaxWaitMs.
std::optional<int> parseMilliseconds(const std::string& digits)
{
    if (digits.empty() || digits.size() > 10)
        return std::nullopt;
    long long ms = 0;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        ms = ms * 10 + (c - '0');
    }
    if (ms > kMaxWaitMs)
        return std::nullopt;
    return static_cast<int>(ms);
}

}  // namespace

std::optional<eRCKey> keyNamed(const std::string& word)
{
    for (const KeyName& k : kKeyNames)
        if (word == k.name)
            return k.key;
    return std::nullopt;
}

ParsedScript parseScript(const std::string& text)
{
    ParsedScript result;
    std::istringstream lines(text);
    std::string line;
    for (int lineNo = 1; std::getline(lines, line); ++lineNo) {
        const size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::string word;
        while (words >> word) {
            if (auto key = keyNamed(word)) {
                result.steps.push_back(ScriptStep::press(*key));
            } else if (word.rfind("to=", 0) == 0 || word.rfind("await=", 0) == 0) {
                const bool to = word[0] == 't';
                std::string rest;
                std::getline(words, rest);
                std::string text = word.substr(to ? 3 : 6) + rest;
                while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
                    text.pop_back();
                if (text.empty()) {
                    result.error = "line " + std::to_string(lineNo) + ": '" + word + "' needs a text";
                    result.steps.clear();
                    return result;
                }
                result.steps.push_back(to ? ScriptStep::to(text) : ScriptStep::await(text));
            } else if (word == "print") {
                result.steps.push_back(ScriptStep::print());
            } else if (word.rfind("wait=", 0) == 0) {
                auto ms = parseMilliseconds(word.substr(5));
                if (!ms) {
                    result.error = "line " + std::to_string(lineNo) + ": '" + word +
                        "': wait needs milliseconds from 0 to " + std::to_string(kMaxWaitMs);
                    result.steps.clear();
                    return result;
                }
                result.steps.push_back(ScriptStep::wait(*ms));
            } else {
                result.error = "line " + std::to_string(lineNo) + ": unknown step '" + word + "'";
                result.steps.clear();
                return result;
            }
        }
    }
    return result;
}
