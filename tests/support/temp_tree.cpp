#include "temp_tree.h"

#include <stdlib.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

void check(bool ok, const std::string& what)
{
    if (!ok)
        throw std::runtime_error(what + ": " + std::strerror(errno));
}

}  // namespace

TempTree::TempTree()
{
    char pattern[] = "/tmp/lirva-test-XXXXXX";
    check(mkdtemp(pattern) != nullptr, "mkdtemp");
    root_ = pattern;
}

TempTree::~TempTree()
{
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

void TempTree::dir(const std::string& relative) const
{
    std::filesystem::create_directories(*this / relative);
}

void TempTree::file(const std::string& relative, const std::string& content) const
{
    std::ofstream out(*this / relative, std::ios::binary);
    check(static_cast<bool>(out), "create " + relative);
    out << content;
}

void TempTree::symlink(const std::string& target, const std::string& relative) const
{
    check(::symlink(target.c_str(), (*this / relative).c_str()) == 0, "symlink " + relative);
}

void TempTree::fifo(const std::string& relative) const
{
    check(mkfifo((*this / relative).c_str(), 0600) == 0, "mkfifo " + relative);
}

void TempTree::socket(const std::string& relative) const
{
    std::string path = *this / relative;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    check(path.size() < sizeof addr.sun_path, "socket path too long");
    std::strcpy(addr.sun_path, path.c_str());
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    check(fd >= 0, "socket");
    int rc = bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    close(fd);
    check(rc == 0, "bind " + relative);
}
