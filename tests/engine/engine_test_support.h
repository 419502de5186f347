#ifndef LIRVA_TESTS_ENGINE_TEST_SUPPORT_H
#define LIRVA_TESTS_ENGINE_TEST_SUPPORT_H

#include <cstdint>
#include <string>
#include <vector>

namespace enginetest {

std::vector<uint8_t> read_file(const std::string& path);

// The expected 16-bit value of a decoded sample of the given width, written
// independently of the engine: narrower ones scaled up, wider ones rounded
// half up and clipped.
int16_t expected_16(int32_t sample, int bits);

// Appends the big-endian bytes of a 16-bit value.
void push_be16(std::vector<uint8_t>& out, int16_t v);

// The shell words that start `program` of this build with `library`
// preloaded. In a cross build the program runs under the emulator that runs
// the test, as the kernel cannot start it, and the preload is set for the
// emulated program alone (-E), not for the emulator.
std::string preloaded_program(const std::string& program, const std::string& library);

// The lines of a text.
std::vector<std::string> lines_of(const std::string& text);

// Runs a shell command: its exit status and the lines of its standard output.
struct CommandResult {
    int status = -1;
    std::vector<std::string> out;
};
CommandResult run(const std::string& command);

// The corpus folder, or "" when it is not there.
std::string corpus_dir();

}  // namespace enginetest

#endif
