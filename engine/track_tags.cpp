#include "track_tags.h"

#include <FLAC/metadata.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "play_stop.h"

namespace {

// The value of the first comment named `name` (any letter case), cut at a
// character boundary to what `out` holds.
void copy_value(const FLAC__StreamMetadata& block, const char* name, char (&out)[TrackTags::max_text])
{
    const int i = FLAC__metadata_object_vorbiscomment_find_entry_from(&block, 0, name);
    if (i < 0)
        return;
    const FLAC__StreamMetadata_VorbisComment_Entry& entry = block.data.vorbis_comment.comments[i];
    const size_t skip = strlen(name) + 1;  // "NAME="
    if (entry.entry == nullptr || entry.length < skip)
        return;
    const auto* value = reinterpret_cast<const char*>(entry.entry) + skip;
    size_t n = entry.length - skip;
    if (n >= sizeof out) {
        n = sizeof out - 1;
        while (n > 0 && (static_cast<unsigned char>(value[n]) & 0xC0) == 0x80)
            --n;  // not inside a UTF-8 sequence
    }
    memcpy(out, value, n);
    out[n] = '\0';
}

void read_comments(FLAC__Metadata_SimpleIterator* it, TrackTags& tags)
{
    do {
        if (play_stop_requested())
            return;
        const FLAC__MetadataType type = FLAC__metadata_simple_iterator_get_block_type(it);
        if (type == FLAC__METADATA_TYPE_STREAMINFO) {
            if (FLAC__StreamMetadata* info = FLAC__metadata_simple_iterator_get_block(it)) {
                tags.sample_rate = info->data.stream_info.sample_rate;
                FLAC__metadata_object_delete(info);
            }
        }
        if (type != FLAC__METADATA_TYPE_VORBIS_COMMENT)
            continue;
        if (FLAC__metadata_simple_iterator_get_block_length(it) > max_comment_block)
            return;
        FLAC__StreamMetadata* block = FLAC__metadata_simple_iterator_get_block(it);
        if (block == nullptr)
            return;
        copy_value(*block, "ARTIST", tags.artist);
        copy_value(*block, "TITLE", tags.title);
        FLAC__metadata_object_delete(block);
        return;
    } while (FLAC__metadata_simple_iterator_next(it));
}

}  // namespace

void read_track_tags(const char* path, TrackTags& tags)
{
    tags.artist[0] = tags.title[0] = '\0';
    tags.sample_rate = 0;
    // Opened without waiting and checked to be a regular file, then handed
    // to libFLAC through its descriptor: a node swapped in after the listing
    // (a FIFO) cannot hold the thread.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat st;
    char self[32];
    FLAC__Metadata_SimpleIterator* it = nullptr;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
        snprintf(self, sizeof self, "/proc/self/fd/%d", fd) < static_cast<int>(sizeof self) &&
        (it = FLAC__metadata_simple_iterator_new()) != nullptr && FLAC__metadata_simple_iterator_init(it, self, true, false))
        read_comments(it, tags);
    if (it != nullptr)
        FLAC__metadata_simple_iterator_delete(it);
    close(fd);
}
