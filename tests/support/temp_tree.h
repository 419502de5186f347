#ifndef LIRVA_TESTS_TEMP_TREE_H
#define LIRVA_TESTS_TEMP_TREE_H

#include <string>

// A temporary directory, removed with everything in it when the object goes.
class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::string& path() const { return root_; }
    std::string operator/(const std::string& relative) const { return root_ + "/" + relative; }

    void dir(const std::string& relative) const;
    void file(const std::string& relative, const std::string& content = "") const;
    void symlink(const std::string& target, const std::string& relative) const;
    void fifo(const std::string& relative) const;
    void socket(const std::string& relative) const;

private:
    std::string root_;
};

#endif
