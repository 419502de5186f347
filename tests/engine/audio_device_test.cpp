// Opening, setting and closing the audio device.
#include <dirent.h>
#include <fcntl.h>
#include <linux/soundcard.h>
#include <sys/stat.h>
#include <unistd.h>

#include "writer_fixture.h"

namespace {
int open_descriptors()
{
    int n = 0;
    DIR* d = opendir("/proc/self/fd");
    while (d != nullptr && readdir(d) != nullptr)
        ++n;
    if (d != nullptr)
        closedir(d);
    return n;
}
}  // namespace

class AudioDevice : public EngineTest {};

TEST_F(AudioDevice, OpensWriteOnlyWithTheThreeSettings)
{
    audio_device_open();
    ASSERT_GT(audio, 0);
    EXPECT_TRUE(audio_device_is_open());
    EXPECT_EQ(fcntl(audio, F_GETFL) & O_ACCMODE, O_WRONLY);
    EXPECT_EQ(dsp_sample, AFMT_S16_BE);
    EXPECT_EQ(dsp_stereo, 2);
    EXPECT_EQ(dsp_speed, 44100);
}

TEST_F(AudioDevice, MissingNodeIsNeverCreated)
{
    std::string missing = dir_.file("no-dsp");
    audio_device_path = missing.c_str();
    audio_device_open();
    EXPECT_EQ(audio, -1);
    EXPECT_FALSE(audio_device_is_open());
    struct stat st;
    EXPECT_NE(stat(missing.c_str(), &st), 0);
    audio_device_close();
    EXPECT_EQ(audio, 0);
}

TEST_F(AudioDevice, CloseClosesOnceAndNeverDescriptorZero)
{
    const int before = open_descriptors();
    audio_device_open();
    const int fd = audio;
    audio_device_close();
    EXPECT_EQ(audio, 0);
    EXPECT_EQ(fcntl(fd, F_GETFD), -1);
    audio_device_close();   // nothing open: descriptor 0 (audio's value) stays
    EXPECT_NE(fcntl(0, F_GETFD), -1);
    EXPECT_EQ(open_descriptors(), before);
}

TEST_F(AudioDevice, ReopeningDoesNotLeakTheEarlierDescriptor)
{
    const int before = open_descriptors();
    audio_device_open();
    audio_device_open();
    EXPECT_EQ(open_descriptors(), before + 1);
    audio_device_close();
    EXPECT_EQ(open_descriptors(), before);
}
