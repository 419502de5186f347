#ifndef LIRVA_TESTS_ENGINE_TEST_SUPPORT_H
#define LIRVA_TESTS_ENGINE_TEST_SUPPORT_H

#include <cstdint>
#include <string>
#include <vector>

#include "command.h"

namespace enginetest {

// A whole file as bytes; empty when it cannot be read.
inline std::vector<uint8_t> read_file(const std::string& path)
{
    const std::string bytes = testsupport::readFile(path);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace enginetest

#endif
