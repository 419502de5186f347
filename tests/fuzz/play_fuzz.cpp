// Fuzzes a whole play: the input bytes are a file handed to the decoder
// session, which decodes it through libFLAC, converts every frame in the
// sample writer and writes it to the audio device (/dev/null here, so each
// write goes through), and updates the status display on real toolkit
// widgets. After each play the session must be closed: no decoder kept,
// no device open, the record reset, the display idle.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <audio_device.h>
#include <decoder_session.h>
#include <file_info.h>
#include <status_widgets.h>
#include <status_window.h>
#include <widget_private.h>

static std::string input_dir, input_path;

// libFuzzer keeps the input that caused it.
static void fail(const char* what)
{
    fprintf(stderr, "%s\n", what);
    abort();
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The status widgets the engine displays on, in a window that is never
    // shown; they live as long as the process.
    new StatusWindow;

    char dir[] = "/tmp/lirva-fuzz-XXXXXX";
    if (!mkdtemp(dir))
        fail("cannot make a temporary folder");
    input_dir = dir;
    input_path = input_dir + "/input.flac";
    atexit([] {
        std::remove(input_path.c_str());
        std::remove(input_dir.c_str());
    });

    // Were /dev/null a plain file, the plays would write their samples to the disk.
    struct stat st;
    if (stat("/dev/null", &st) != 0 || !S_ISCHR(st.st_mode))
        fail("/dev/null is not a character device on this machine");
    audio_device_path = "/dev/null";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int fd = open(input_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size) || close(fd) != 0)
        fail("cannot write the input file");

    audio_device_open();
    play_file(input_path.c_str());

    if (file_info.decoder != nullptr || audio_device_is_open() || file_info.is_playing != 0 ||
        file_info.filename[0] != '\0')
        fail("session not closed after a play: decoder kept, device open or record not reset");
    if (!internals(*lb_TT).getText().empty() || !internals(*lb_ET).getText().empty() ||
        internals(*progress).getPerc() != 0)
        fail("session not closed after a play: status display not idle");
    return 0;
}
