#include "dsp_preload.h"

#include <gtest/gtest.h>

namespace {

PreloadFacts noDevice() {
    PreloadFacts f;
    f.simPath = "/build/liblirva_dsp_sim.so";
    f.simExists = true;
    return f;
}

TEST(DspPreload, RestartsWithTheSimulatedDeviceWhenThereIsNoRealOne) {
    PreloadFacts f = noDevice();
    PreloadDecision d = decidePreload(f);
    EXPECT_TRUE(d.restart);
    EXPECT_EQ(d.ldPreload, "/build/liblirva_dsp_sim.so");

    f.ldPreload = "/opt/libfoo.so /opt/libbar.so";
    d = decidePreload(f);
    EXPECT_EQ(d.ldPreload, "/build/liblirva_dsp_sim.so:/opt/libfoo.so:/opt/libbar.so");
}

TEST(DspPreload, KeepsASanitizerRuntimeFirst) {
    PreloadFacts f = noDevice();
    f.sanitizerRuntime = "/usr/lib/x86_64-linux-gnu/libasan.so.8";
    EXPECT_EQ(decidePreload(f).ldPreload,
              "/usr/lib/x86_64-linux-gnu/libasan.so.8:/build/liblirva_dsp_sim.so");

    f.ldPreload = "/opt/libfoo.so:/usr/lib/x86_64-linux-gnu/libasan.so.8";
    EXPECT_EQ(decidePreload(f).ldPreload,
              "/usr/lib/x86_64-linux-gnu/libasan.so.8:/build/liblirva_dsp_sim.so:/opt/libfoo.so");

    f.sanitizerRuntime.clear();
    f.ldPreload = "libtsan.so.2";
    EXPECT_EQ(decidePreload(f).ldPreload, "libtsan.so.2:/build/liblirva_dsp_sim.so");
}

TEST(DspPreload, LeavesTheProcessAloneWhenTheDeviceIsThereOrRestartingCannotHelp) {
    PreloadFacts f = noDevice();
    f.deviceExists = true;
    EXPECT_FALSE(decidePreload(f).restart);
    EXPECT_TRUE(decidePreload(f).warning.empty());

    f = noDevice();
    f.simLoaded = true;
    EXPECT_FALSE(decidePreload(f).restart);

    f = noDevice();
    f.ldPreload = "/x.so:/build/liblirva_dsp_sim.so";
    EXPECT_FALSE(decidePreload(f).restart);

    f = noDevice();
    f.restarted = true;   // a second restart would loop forever
    EXPECT_FALSE(decidePreload(f).restart);
    EXPECT_FALSE(decidePreload(f).warning.empty());

    f = noDevice();
    f.simExists = false;
    EXPECT_FALSE(decidePreload(f).restart);
    EXPECT_FALSE(decidePreload(f).warning.empty());

    f = noDevice();
    f.simPath.clear();
    EXPECT_FALSE(decidePreload(f).restart);
}

}  // namespace
