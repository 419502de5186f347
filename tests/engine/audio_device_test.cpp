// Opening and closing the audio device.
#include <fcntl.h>
#include <sys/stat.h>

#include "open_descriptors.h"
#include "writer_fixture.h"

class AudioDevice : public EngineTest { };

TEST_F(AudioDevice, OpensAnExistingNodeWriteOnlyAndNeverCreatesOne)
{
    audio_device_open();
    ASSERT_GT(audio, 0);
    EXPECT_TRUE(audio_device_is_open());
    EXPECT_EQ(fcntl(audio, F_GETFL) & O_ACCMODE, O_WRONLY);
    audio_device_close();

    // Without O_CREAT: as root that would leave a plain file as the device.
    const std::string missing = tree_ / "no-dsp";
    audio_device_path = missing.c_str();
    audio_device_open();
    EXPECT_EQ(audio, -1);
    EXPECT_FALSE(audio_device_is_open());
    struct stat st;
    EXPECT_NE(stat(missing.c_str(), &st), 0);
    audio_device_close();
    EXPECT_EQ(audio, 0);
}

TEST_F(AudioDevice, CloseAndReopenLeakNothingAndNeverCloseDescriptorZero)
{
    const int before = open_descriptors();
    audio_device_open();
    audio_device_open();  // the earlier descriptor is not left behind
    EXPECT_EQ(open_descriptors(), before + 1);
    const int fd = audio;
    audio_device_close();
    EXPECT_EQ(audio, 0);
    EXPECT_EQ(fcntl(fd, F_GETFD), -1);
    audio_device_close();  // nothing open: descriptor 0 (audio's value) stays
    EXPECT_NE(fcntl(0, F_GETFD), -1);
    EXPECT_EQ(open_descriptors(), before);
}
