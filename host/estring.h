#ifndef LIRVA_HOST_ESTRING_H
#define LIRVA_HOST_ESTRING_H

#include <string>

// The toolkit's string: a std::string with the helpers that widgets and
// plug-ins use. Positions and counts are in bytes.
class eString : public std::string {
public:
    eString() = default;
    eString(const char* s) : std::string(s ? s : "") { }  // null gives ""
    eString(const char* s, size_type n) : std::string(s, n) { }
    eString(const std::string& s) : std::string(s) { }
    eString(std::string&& s) : std::string(std::move(s)) { }
    eString(size_type n, char c) : std::string(n, c) { }

    // The members below take the forms the box's toolkit gives them
    // (non-const: call them on a copy where the string is const).

    // The first n characters; the whole string when n >= length().
    eString left(unsigned int n);
    // At most n characters from pos on; "" when pos >= length(). The default
    // n takes the rest of the string.
    eString mid(unsigned int pos, unsigned int n = ~0u);
    // The last n characters; the whole string when length() <= n.
    eString right(unsigned int n);
    // ASCII upper-case copy; the string itself is unchanged.
    eString upper();
    // Replaces every occurrence of `from`, scanning left to right without
    // rescanning replaced text. An empty `from` changes nothing.
    eString& strReplace(const char* from, const eString& to);
    // Sets the string to the printf-style formatted text and returns it.
    // The format is a modifiable array: `char format[] = "%d";`.
    eString& sprintf(char* format, ...) __attribute__((format(printf, 2, 3)));

    // True when not empty.
    explicit operator bool() const { return !empty(); }
};

#endif
