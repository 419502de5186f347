#include "temp_tree.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace {

void check(bool ok, const std::string& what)
{
    if (!ok)
        throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

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

bool TempTree::sparseFile(const std::string& relative, long long size) const
{
    std::string path = file(relative);
    struct stat st;
    bool sparse = truncate(path.c_str(), size) == 0 && stat(path.c_str(), &st) == 0 && st.st_size == size &&
        static_cast<long long>(st.st_blocks) * 512 < size;
    if (!sparse)
        unlink(path.c_str());
    return sparse;
}
