#ifndef LIRVA_TESTS_ENGINE_WRITER_FIXTURE_H
#define LIRVA_TESTS_ENGINE_WRITER_FIXTURE_H

#include <gtest/gtest.h>

#include <audio_device.h>
#include <file_info.h>
#include <flac_callbacks.h>

#include <vector>

#include "engine_test_support.h"
#include "recording_display.h"
#include "temp_tree.h"

// A device node that is a plain file in a temporary folder, a clean record
// and an empty display log for every test.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        audio_device_path = node_.c_str();
        reset_record();
        display_calls().clear();
    }
    void TearDown() override
    {
        audio_device_close();
        audio_device_path = "/dev/dsp";
    }

    static void reset_record()
    {
        file_info.decoder = nullptr;
        file_info.bits_per_sample = 16;
        file_info.sample_rate = 44100;
        file_info.channels = 2;
        file_info.filename[0] = '\0';
        file_info.total_samples = file_info.samples_played = 0;
        file_info.length_sec = file_info.position_sec = 0.0f;
        file_info.is_playing = 0;
        file_info.total_time = file_info.elapsed_time = file_info.percent = 0;
    }

    std::vector<uint8_t> device_bytes() { return enginetest::read_file(node_); }

    TempTree tree_;
    const std::string node_ = tree_.file("dsp");
};

// One decoded frame as libFLAC hands it to the writer.
struct TestFrame {
    FLAC__Frame frame{};
    std::vector<std::vector<FLAC__int32>> planes;
    std::vector<const FLAC__int32*> pointers;

    TestFrame(unsigned channels, unsigned blocksize, unsigned rate, unsigned bits = 16)
        : planes(channels, std::vector<FLAC__int32>(blocksize))
    {
        frame.header.blocksize = blocksize;
        frame.header.channels = channels;
        frame.header.sample_rate = rate;
        frame.header.bits_per_sample = bits;
        for (auto& p : planes)
            pointers.push_back(p.data());
    }

    FLAC__StreamDecoderWriteStatus write() { return flac_write_hdl(nullptr, &frame, pointers.data(), &file_info); }
};

#endif
