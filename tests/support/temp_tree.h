#ifndef LIRVA_TESTS_TEMP_TREE_H
#define LIRVA_TESTS_TEMP_TREE_H

#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

// A temporary directory, removed with everything in it when the object goes.
// Header-only, so that every suite can use it without linking anything.
class TempTree {
public:
    // Named /tmp/<name>-XXXXXX.
    explicit TempTree(const std::string& name = "lirva-test")
    {
        std::string pattern = "/tmp/" + name + "-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::system_error(errno, std::generic_category(), "mkdtemp");
        root_ = pattern;
    }
    ~TempTree()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::string& path() const { return root_; }
    std::string operator/(const std::string& relative) const { return root_ + "/" + relative; }

    void dir(const std::string& relative) const { std::filesystem::create_directories(*this / relative); }
    // Creates (or empties) a file; returns its path.
    std::string file(const std::string& relative, const std::string& content = "") const
    {
        std::ofstream out(*this / relative, std::ios::binary | std::ios::trunc);
        if (!out)
            throw std::system_error(errno, std::generic_category(), "create " + relative);
        out << content;
        return *this / relative;
    }

private:
    std::string root_;
};

#endif
