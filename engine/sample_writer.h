#ifndef LIRVA_ENGINE_SAMPLE_WRITER_H
#define LIRVA_ENGINE_SAMPLE_WRITER_H

// The end of a stream that was decoded to its end: writes the samples the
// resampler still holds, so the last ones are heard. (The per-frame writer
// is the libFLAC callback flac_write_hdl.)
void flush_sample_writer();

#endif
