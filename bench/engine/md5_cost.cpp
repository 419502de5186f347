// What libFLAC's MD5 check costs: decodes FILE with the check on or off,
// doing nothing with the samples, so that an instruction counter run on
// both gives the check's share of decoding:
//
//   valgrind --tool=callgrind md5-cost on FILE
//   valgrind --tool=callgrind md5-cost off FILE
#include <FLAC/stream_decoder.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 3 || (strcmp(argv[1], "on") != 0 && strcmp(argv[1], "off") != 0)) {
        fprintf(stderr, "usage: md5-cost on|off FILE\n");
        return 2;
    }
    const auto write = [](const FLAC__StreamDecoder*, const FLAC__Frame*, const FLAC__int32* const[], void*) {
        return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
    };
    const auto error = [](const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {};
    FLAC__StreamDecoder* d = FLAC__stream_decoder_new();
    FLAC__stream_decoder_set_md5_checking(d, strcmp(argv[1], "on") == 0);
    const bool ok = FLAC__stream_decoder_init_file(d, argv[2], write, nullptr, error, nullptr) ==
            FLAC__STREAM_DECODER_INIT_STATUS_OK &&
        FLAC__stream_decoder_process_until_end_of_stream(d) && FLAC__stream_decoder_finish(d);
    FLAC__stream_decoder_delete(d);
    return ok ? 0 : 1;
}
