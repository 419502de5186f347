// The string helpers of the toolkit's eString.
#include "estring.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

eString eString::left(unsigned int n)
{
    return eString(substr(0, n));
}

eString eString::mid(unsigned int pos, unsigned int n)
{
    if (pos >= length())
        return eString();
    return eString(substr(pos, n));
}

eString eString::right(unsigned int n)
{
    if (length() <= n)
        return *this;
    return eString(substr(length() - n));
}

eString eString::upper()
{
    eString out(*this);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

eString& eString::strReplace(const char* from, const eString& to)
{
    if (!from || !*from)
        return *this;
    const size_type fromLength = std::strlen(from);
    size_type pos = 0;
    while ((pos = find(from, pos, fromLength)) != npos) {
        replace(pos, fromLength, to);
        pos += to.length();  // the replacement itself is not scanned again
    }
    return *this;
}

eString& eString::sprintf(char* format, ...)
{
    char small[256];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int needed = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);

    if (needed < 0) {
        clear();
    } else if (static_cast<size_t>(needed) < sizeof small) {
        assign(small, static_cast<size_type>(needed));
    } else {
        // Too long for the stack buffer: format again straight into the string.
        std::string big(static_cast<size_type>(needed) + 1, '\0');
        std::vsnprintf(&big[0], big.size(), format, again);
        big.resize(static_cast<size_type>(needed));
        assign(std::move(big));
    }
    va_end(again);
    return *this;
}
