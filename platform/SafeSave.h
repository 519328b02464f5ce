#pragma once
// Replacing a data file and its sheet files without ever leaving a damaged or missing original.
//
// Every new file is first written completely to a temporary file beside the data file, flushed
// to disk and closed. Only then is the data file renamed to its backup name (replacing an
// earlier backup), each temporary renamed onto its final name, and the directory flushed. On any
// failure the original bytes remain under the data file's name (or, if it could not be put
// back, under the backup name), nothing partial lies under the data file's name, and no
// temporary is left behind. If the backup cannot be made, nothing is replaced.
//
// Only the data file itself gets a backup; its sheet files ("NAME-01", ...) are simply replaced,
// and sheet files of an earlier run with more sheets are left alone.
//
// Paths are taken as they are: a symbolic link would itself be renamed to the backup name and
// replaced by a regular file. The job therefore resolves the data file's name to its real path
// before it locks, reads and saves it, so that the link stays and its target is updated.

#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/TemporaryFile.h"

namespace wemb::platform {

class FileOps;

struct SaveFile {
    std::string path;
    FileContent content;
};

struct SaveResult {
    bool ok = true;
    // The file that could not be written (named in message 106): the data or sheet file whose
    // new content failed, or the backup name when the original could not be moved there.
    std::string failedPath;
};

// Saves `files`, one of which must be `dataPath` (the others are its sheet files, in the same
// directory), keeping the original data file as `backupPath`. New files get exactly the
// `permissions` bits (only rwx for user, group and others are used). Refuses, touching nothing,
// when `files` does not name `dataPath` or names a file twice, or when `backupPath` is one of
// the files.
SaveResult saveWithBackup(FileOps& fileOps, const std::string& dataPath,
                          const std::string& backupPath, const std::vector<SaveFile>& files,
                          mode_t permissions);

}  // namespace wemb::platform
