// Opening and closing the audio device leaks no descriptor and never
// closes one it does not hold.
#include <fcntl.h>

#include "engine_fixture.h"
#include "open_descriptors.h"

class AudioDevice : public EngineTest { };

TEST_F(AudioDevice, CloseAndReopenLeakNothingAndNeverCloseDescriptorZero)
{
    const int before = open_descriptors();
    audio_device_open();
    audio_device_open();  // the earlier descriptor is not left behind
    EXPECT_EQ(open_descriptors(), before + 1);
    const int fd = audio;
    audio_device_close();
    EXPECT_EQ(fcntl(fd, F_GETFD), -1);
    audio_device_close();  // nothing open: descriptor 0 (audio's value) stays
    EXPECT_NE(fcntl(0, F_GETFD), -1);
    EXPECT_EQ(open_descriptors(), before);
}
