#include "hostile_flac.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <random>
#include <vector>

#include "command.h"

namespace {

// Writes each piece at its offset into a file of `size` bytes whose rest is
// a hole, and checks that it is one.
std::string write_sparse(const std::string& path, const std::vector<std::pair<long long, std::string>>& pieces,
                         long long size)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return "cannot create " + path + ": " + strerror(errno);
    std::string why;
    if (ftruncate(fd, static_cast<off_t>(size)) != 0 || static_cast<long long>(static_cast<off_t>(size)) != size)
        why = "no file of " + std::to_string(size) + " bytes here (the file system, or 32-bit file offsets)";
    for (const auto& [offset, bytes] : pieces)
        if (why.empty() &&
            pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)) != static_cast<ssize_t>(bytes.size()))
            why = std::string("cannot write: ") + strerror(errno);
    struct stat st;
    if (why.empty() && (fstat(fd, &st) != 0 || static_cast<long long>(st.st_blocks) * 512 > size / 2))
        why = "the file system does not keep holes in sparse files";
    close(fd);
    if (!why.empty())
        unlink(path.c_str());
    return why;
}

std::string noise(size_t size)
{
    std::mt19937 generator(19);
    std::string bytes(size, '\0');
    for (char& b : bytes)
        b = static_cast<char>(generator());
    return bytes;
}

// The checksums of a frame: its header's CRC-8 (x^8+x^2+x+1) and the whole
// frame's CRC-16 (x^16+x^15+x^2+1), both bitwise, most significant bit first.
template <class Word>
Word crc(const std::string& bytes, unsigned polynomial)
{
    constexpr unsigned top = 1u << (sizeof(Word) * 8 - 1);
    unsigned c = 0;
    for (unsigned char b : bytes) {
        c ^= static_cast<unsigned>(b) << (sizeof(Word) * 8 - 8);
        for (int bit = 0; bit < 8; ++bit)
            c = (c & top ? (c << 1) ^ polynomial : c << 1) & ((top << 1) - 1);
    }
    return static_cast<Word>(c);
}

// A frame number in the UTF-8-like coding of frame headers.
std::string coded_number(uint32_t n)
{
    if (n < 0x80)
        return std::string(1, static_cast<char>(n));
    int extra = n < 0x800 ? 1 : n < 0x10000 ? 2 : n < 0x200000 ? 3 : n < 0x4000000 ? 4 : 5;
    std::string out(1, static_cast<char>((0xff00u >> (extra + 1)) | (n >> (6 * extra))));
    for (int i = extra - 1; i >= 0; --i)
        out += static_cast<char>(0x80 | ((n >> (6 * i)) & 0x3f));
    return out;
}

}  // namespace

std::string make_sparse_after_header(const std::string& path, const std::string& source, long long size)
{
    const std::string head = testsupport::readFile(source).substr(0, 8192);
    return head.size() < 8192 ? "cannot read 8 KiB of " + source : write_sparse(path, {{0, head}}, size);
}

std::string make_huge_padding(const std::string& path, const std::string& source, int blocks)
{
    // "fLaC" and the STREAMINFO block: a 4-byte header and 34 bytes.
    std::string head = testsupport::readFile(source).substr(0, 42);
    if (head.size() < 42 || head.compare(0, 4, "fLaC") != 0 || (head[4] & 0x7f) != 0)
        return source + " does not begin with STREAMINFO";
    head[4] = 0;                               // not the last metadata block
    constexpr long long body = (1 << 24) - 1;  // the largest block length
    std::vector<std::pair<long long, std::string>> pieces{{0, head}};
    long long at = static_cast<long long>(head.size());
    for (int i = 0; i < blocks; ++i, at += 4 + body)  // PADDING blocks, the last one flagged as the last
        pieces.push_back({at, {char(i == blocks - 1 ? 0x81 : 0x01), char(0xff), char(0xff), char(0xff)}});
    return write_sparse(path, pieces, at);
}

std::string make_noise_then_holes(const std::string& path, long long random, long long size)
{
    return write_sparse(path, {{0, noise(static_cast<size_t>(random))}}, size);
}

std::string make_damaged(const std::string& path, const std::string& source, size_t garbage)
{
    const std::string whole = testsupport::readFile(source);
    if (whole.size() < 1000)
        return "cannot read " + source;
    const size_t middle = whole.size() / 2;
    std::ofstream out(path, std::ios::binary);
    out << whole.substr(0, middle) << noise(garbage) << whole.substr(middle);
    return out.flush() ? "" : "cannot write " + path;
}

std::string make_long_silence(const std::string& path, unsigned rate, unsigned blocksize, unsigned seconds)
{
    const uint64_t total = uint64_t{rate} * seconds;
    const uint64_t frames = total / blocksize;
    // STREAMINFO: block sizes, unknown frame sizes, then rate (20 bits),
    // channels - 1 (3), bits - 1 (5) and the sample count (36); no MD5.
    std::string out = "fLaC";
    out += {char(0x80), 0, 0, 34, char(blocksize >> 8), char(blocksize), char(blocksize >> 8), char(blocksize)};
    out += std::string(6, '\0');
    const uint64_t packed = uint64_t{rate} << 44 | uint64_t{7} << 36 | frames * blocksize;
    for (int shift = 56; shift >= 0; shift -= 8)
        out += static_cast<char>(packed >> shift);
    out += std::string(16, '\0');
    std::ofstream file(path, std::ios::binary);
    for (uint32_t n = 0; n < frames; ++n) {
        // Fixed block size, the size in 8 bits after the number, rate and
        // width from STREAMINFO, one channel; a constant subframe of 0.
        std::string frame = {char(0xff), char(0xf8), 0x60, 0x00};
        frame += coded_number(n);
        frame += static_cast<char>(blocksize - 1);
        frame += static_cast<char>(crc<uint8_t>(frame, 0x07));
        frame += {0, 0};
        const uint16_t check = crc<uint16_t>(frame, 0x8005);
        out += frame + char(check >> 8) + char(check);
        if (out.size() > (1 << 20)) {
            file << out;
            out.clear();
        }
    }
    file << out;
    return file.flush() ? "" : "cannot write " + path;
}
