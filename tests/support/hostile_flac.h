#ifndef LIRVA_TESTS_HOSTILE_FLAC_H
#define LIRVA_TESTS_HOSTILE_FLAC_H

#include <string>

// FLAC files that keep a decoder reading for a long time while costing
// next to nothing to make: their long runs of zero bytes are holes of a
// sparse file. Each takes the stream header from `source`, a real FLAC
// file, and returns "" when made, or why it could not be (the file system
// cannot hold the size, or holds it without holes).

// The first 8 KiB of `source` (its header and first frames), then zeros up
// to `size` bytes: the decoder searches them for a frame.
std::string make_sparse_after_header(const std::string& path, const std::string& source, long long size);

// "fLaC", the STREAMINFO block of `source`, then `blocks` PADDING blocks of
// 16 MiB each (the largest a block may be): the decoder reads them as
// metadata.
std::string make_huge_padding(const std::string& path, const std::string& source, int blocks);

// `seconds` of silence at `rate` Hz, 8-bit mono, in frames of `blocksize`
// (at most 256) samples: a long stream of tiny frames, written straight
// as constant subframes.
std::string make_long_silence(const std::string& path, unsigned rate, unsigned blocksize, unsigned seconds);

// `random` bytes of noise (the same for every run), then zeros up to `size`
// bytes: no stream for the decoder to find.
std::string make_noise_then_holes(const std::string& path, long long random, long long size);

// `source` with `garbage` bytes of noise put in the middle of a frame: the
// frames resume after it.
std::string make_damaged(const std::string& path, const std::string& source, size_t garbage);

#endif
