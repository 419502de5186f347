#include "engine_test_support.h"

#include <cmath>
#include <sstream>

#include "command.h"

namespace enginetest {

std::vector<uint8_t> read_file(const std::string& path)
{
    const std::string bytes = testsupport::readFile(path);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

int16_t expected_16(int32_t sample, int bits)
{
    if (bits < 16)
        return static_cast<int16_t>(sample * (1 << (16 - bits)));
    if (bits == 16)
        return static_cast<int16_t>(sample);
    double scaled = std::floor(static_cast<double>(sample) / std::ldexp(1.0, bits - 16) + 0.5);
    if (scaled > 32767)
        scaled = 32767;
    if (scaled < -32768)
        scaled = -32768;
    return static_cast<int16_t>(scaled);
}

void push_be16(std::vector<uint8_t>& out, int16_t v)
{
    out.push_back(static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8));
    out.push_back(static_cast<uint8_t>(static_cast<uint16_t>(v) & 0xFF));
}

std::string preloaded_program(const std::string& program, const std::string& library)
{
    const std::string emulator = LIRVA_TEST_EMULATOR;
    const std::string preload = "LD_PRELOAD='" + library + "' '" + program + "'";
    return emulator.empty() ? "env " + preload : emulator + " -E " + preload;
}

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::stringstream s(text);
    std::string line;
    while (std::getline(s, line))
        lines.push_back(line);
    return lines;
}

CommandResult run(const std::string& command)
{
    const testsupport::CommandResult r = testsupport::run(command);
    return {r.exitCode, lines_of(r.output)};
}

std::string corpus_dir()
{
    return testsupport::missingCorpus().empty() ? LIRVA_CORPUS_DIR : "";
}

}  // namespace enginetest
