#ifndef LIRVA_TESTS_COMMAND_H
#define LIRVA_TESTS_COMMAND_H

// Shell commands, whole files and the FLAC corpus, for every suite.
#include <stdio.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace testsupport {

struct CommandResult {
    int exitCode = -1;   // 128 + the signal when a signal ended it
    std::string output;  // standard output
};

// Runs a shell command line and collects its standard output.
inline CommandResult run(const std::string& command)
{
    CommandResult r;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
        r.output.append(buf, n);
    const int status = pclose(pipe);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return r;
}

// `text` as one word for the shell, whatever it holds.
inline std::string shellQuoted(const std::string& text)
{
    std::string q = "'";
    for (char c : text)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// A whole file; "" when it cannot be read.
inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

#ifdef LIRVA_CORPUS_DIR
// Why the FLAC corpus cannot serve, for a test's skip; "" when it is there.
inline std::string missingCorpus()
{
    const bool there = std::filesystem::exists(LIRVA_CORPUS_DIR "/MANIFEST.tsv");
    return there ? "" : "no FLAC corpus at " LIRVA_CORPUS_DIR " (set LIRVA_CORPUS_DIR)";
}
#endif

}  // namespace testsupport

#endif
