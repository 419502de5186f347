// The file browser: listing a directory and moving through the file system.
#include <dirent.h>
#include <string.h>
#include <sys/stat.h>

#include "lirva_dialog.h"

// Files over 2 GiB and 64-bit inode numbers must list on a 32-bit box too.
static_assert(sizeof(off_t) == 8, "build with _FILE_OFFSET_BITS=64");

namespace {

// The value every entry carries; nothing reads it back.
void* const entryKey = reinterpret_cast<void*>(10);

// The file-type bits of `path`, following symbolic links or not; 0 when the
// status call fails, which counts as neither a directory nor a file.
unsigned fileType(const char* path, bool followLinks)
{
    struct stat st;
    int rc = followLinks ? stat(path, &st) : lstat(path, &st);
    return rc == 0 ? (st.st_mode & S_IFMT) : 0;
}

bool isDirectory(const eString& path)
{
    return fileType(path.c_str(), true) == S_IFDIR;
}
bool isRegularFile(const eString& path)
{
    return fileType(path.c_str(), true) == S_IFREG;
}

// Calls `visit` with the name of every record of `path`; nothing when the
// directory cannot be opened.
template <class Visit>
void forEachName(const eString& path, Visit visit)
{
    DIR* dir = opendir(path.c_str());
    if (!dir)
        return;
    while (dirent* record = readdir(dir))
        visit(record->d_name);
    closedir(dir);
}

// The folder above `path`, ending in "/": the path cut after its last "/"
// strictly inside it (a trailing "/" does not count); "/" above "/".
eString parentOf(eString path)
{
    const size_t n = strlen(path.c_str());
    size_t k = 0;
    for (size_t i = 1; i + 2 <= n; ++i)
        if (path[i] == '/')
            k = i;
    eString p = path.left(static_cast<unsigned>(k + 1));
    if (p.empty())
        p = "/";
    p.strReplace("//", "/");
    return p;
}

bool isDotsOnly(const eString& dirText)
{
    return dirText == "/." || dirText == "/.." || dirText == "/...";
}

}  // namespace

void eLirvaDialog::dispfiles(const eString& path)
{
    list->beginAtomic();
    list->clearList();
    new eListBoxEntryText(list, "..", entryKey, 0, eString(), 0);

    // Directories: the status call follows links, so a link to a directory
    // is listed as one. No separator after "/" itself.
    eString prefix = path;
    if (strlen(path.c_str()) > 1)
        prefix += "/";
    eString full;
    forEachName(path, [&](const char* name) {
        full.assign(prefix).append(name);
        if (fileType(full.c_str(), true) != S_IFDIR)
            return;
        eString text = eString("/") + name;
        if (!isDotsOnly(text))
            new eListBoxEntryText(list, text, entryKey, 0, eString(), 0);
    });

    // FLAC files: regular files only, not links to them.
    prefix = path + "/";
    forEachName(path, [&](const char* name) {
        full.assign(prefix).append(name);
        if (fileType(full.c_str(), false) != S_IFREG)
            return;
        eString bare(name);
        if (bare.right(5).upper() == ".FLAC")
            new eListBoxEntryText(list, bare, entryKey, 0, eString(), 0);
    });

    list->sort();
    list->endAtomic();
    setFocus(list);
}

void eLirvaDialog::selectedItem(eListBoxEntryText* entry)
{
    if (!entry) {
        reject();
        return;
    }
    // The kind of an entry is its text's: ".." the parent, a leading "/" a
    // folder, anything else a file. The file system is never asked which,
    // so "s.flac" in "rock" plays, even beside a folder "rocks.flac".
    eString text = entry->getText();
    // The parent entry is exactly "..": "..intro.flac" is a file.
    if (text == "..") {
        folderup();
        return;
    }

    if (text.left(1) == "/") {
        // Directory texts begin with "/", so they join the directory directly.
        eString dirPath;
        dirPath += currentDir;
        dirPath += text;
        dirPath.strReplace("//", "/");
        if (isDirectory(dirPath)) {
            currentDir = dirPath;
            dispfiles(dirPath);
        }
        return;
    }

    eString filePath;
    filePath += currentDir;
    filePath += "/";
    filePath += text;
    filePath.strReplace("//", "/");
    if (isRegularFile(filePath))
        play(filePath);
}

void eLirvaDialog::selectionChanged(eListBoxEntryText*)
{ }

void eLirvaDialog::folderup()
{
    // The path and the list move together: to the nearest folder above that
    // still is one ("/" at the latest), or, should even that fail, nowhere.
    eString p = parentOf(currentDir);
    while (!isDirectory(p) && p != "/")
        p = parentOf(p);
    if (!isDirectory(p))
        return;
    currentDir = p;
    dispfiles(p);
}

void eLirvaDialog::displayroot()
{
    currentDir = "/";
    dispfiles(currentDir);
}
