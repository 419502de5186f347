// Fuzzes a whole play: the input bytes are a file handed to the decoder
// session, which decodes it through libFLAC, converts every frame in the
// sample writer and writes it to the audio device, and updates the status
// display on real toolkit widgets. The device is the simulated one, unpaced,
// reached through the linker's wrapping of the calls the engine makes; its
// answers to the settings (rate, channels, sample format and byte order)
// come from the input's last byte, so the conversion behind every answer is
// fuzzed while the corpus seeds stay valid files. After each play the
// session must be closed: no decoder kept, no device open, the record
// reset, the display idle.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdarg>
#include <cstring>

#include <audio_device.h>
#include <decoder_session.h>
#include <file_info.h>
#include <simulated_device.h>
#include <status_widgets.h>
#include <status_window.h>
#include <widget_private.h>

static std::string input_dir, input_path;

// The engine's device calls, wrapped at link time (-Wl,--wrap=NAME): the
// device node goes to the simulation, everything else on to the C library.
extern "C" {
int __real_open(const char* path, int flags, ...);
int __real_open64(const char* path, int flags, ...);
int __real_ioctl(int fd, unsigned long request, ...);
ssize_t __real_write(int fd, const void* data, size_t size);
int __real_close(int fd);

static mode_t mode_of(int flags, va_list args)
{
    return (flags & O_CREAT) != 0 ? static_cast<mode_t>(va_arg(args, int)) : 0;
}

int __wrap_open(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_of(flags, args);
    va_end(args);
    return strcmp(path, "/dev/dsp") == 0 ? sim_open(flags) : __real_open(path, flags, mode);
}

int __wrap_open64(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = mode_of(flags, args);
    va_end(args);
    return strcmp(path, "/dev/dsp") == 0 ? sim_open(flags) : __real_open64(path, flags, mode);
}

int __wrap_ioctl(int fd, unsigned long request, ...)
{
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    return sim_owns(fd) ? sim_ioctl(fd, request, arg) : __real_ioctl(fd, request, arg);
}

ssize_t __wrap_write(int fd, const void* data, size_t size)
{
    return sim_owns(fd) ? sim_write(fd, data, size) : __real_write(fd, data, size);
}

int __wrap_close(int fd)
{
    return sim_owns(fd) ? sim_close(fd) : __real_close(fd);
}
}

// The device's answers for an input: the rate, channels and format it
// settles on, each "as asked" in some of the choices.
static std::string answers_for(uint8_t choice)
{
    static const char* const rates[] = {"", "rate=8000,", "rate=11025,", "rate=22050,",
                                        "rate=48000,", "rate=96000,", "rate=192000,", "rate=1000,"};
    static const char* const channels[] = {"", "channels=1,", "channels=2,", ""};
    static const char* const formats[] = {"", "format=s16le,", "format=s16be,", "format=u8,"};
    return std::string(rates[choice & 7]) + channels[(choice >> 3) & 3] + formats[(choice >> 5) & 3];
}

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

    // The simulation plays into /dev/null, unpaced, capturing nothing.
    struct stat st;
    if (stat("/dev/null", &st) != 0 || !S_ISCHR(st.st_mode))
        fail("/dev/null is not a character device on this machine");
    setenv("LIRVA_DSP_SPEED", "0", 1);
    unsetenv("LIRVA_DSP_CAPTURE");
    unsetenv("LIRVA_DSP_LOG");
    unsetenv("LIRVA_DSP_FAIL");
    audio_device_path = "/dev/dsp";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int fd = open(input_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || write(fd, data, size) != static_cast<ssize_t>(size) || close(fd) != 0)
        fail("cannot write the input file");

    setenv("LIRVA_DSP_ANSWER", answers_for(size > 0 ? data[size - 1] : 0).c_str(), 1);
    if (!audio_device_open() && !sim_owns(audio))
        fail("the simulated device did not open");
    play_file(input_path.c_str());

    if (file_info.decoder != nullptr || audio_device_is_open() || file_info.is_playing != 0 ||
        file_info.filename[0] != '\0')
        fail("session not closed after a play: decoder kept, device open or record not reset");
    if (!internals(*lb_TT).getText().empty() || !internals(*lb_ET).getText().empty() ||
        internals(*progress).getPerc() != 0)
        fail("session not closed after a play: status display not idle");
    return 0;
}
