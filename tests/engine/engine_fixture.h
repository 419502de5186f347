#ifndef LIRVA_TESTS_ENGINE_ENGINE_FIXTURE_H
#define LIRVA_TESTS_ENGINE_ENGINE_FIXTURE_H

#include <gtest/gtest.h>

#include <audio_device.h>
#include <decoder_session.h>
#include <flac_callbacks.h>
#include <stream_info.h>

#include <functional>
#include <string>
#include <vector>

#include "command.h"
#include "engine_test_support.h"
#include "temp_tree.h"

// The status display's calls in order, and a hook called after each.
inline std::vector<std::string> display_ops;
inline std::function<void(const std::string& op)> display_hook;

// A device node that is a plain file in a temporary folder, and a fresh
// record and display log, for every test.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        audio_device_path = node_.c_str();
        reset_record();
    }
    void TearDown() override
    {
        audio_device_close();
        display_hook = nullptr;
    }
    // The record as a new session starts it, the display log empty.
    static void reset_record()
    {
        forget_stream_info(file_info);
        decoder_destructor();
        display_ops.clear();
    }
    std::string device_bytes() const { return testsupport::readFile(node_); }

    TempTree tree_;
    const std::string node_ = tree_.file("dsp");
};

// One decoded frame as libFLAC hands it to the writer.
struct TestFrame {
    FLAC__Frame frame{};
    std::vector<std::vector<FLAC__int32>> planes;
    std::vector<const FLAC__int32*> pointers;

    TestFrame(unsigned channels, unsigned blocksize, unsigned rate)
        : planes(channels, std::vector<FLAC__int32>(blocksize))
    {
        frame.header.blocksize = blocksize;
        frame.header.channels = channels;
        frame.header.sample_rate = rate;
        frame.header.bits_per_sample = 16;
        for (auto& p : planes)
            pointers.push_back(p.data());
    }
    FLAC__StreamDecoderWriteStatus write() { return flac_write_hdl(nullptr, &frame, pointers.data(), &file_info); }
};

#endif
