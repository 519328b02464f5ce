#include "platform/SafeSave.h"

#include <algorithm>
#include <optional>
#include <set>

#include "platform/FileOps.h"
#include "platform/Paths.h"
#include "platform/TemporaryFile.h"

namespace wemb::platform {

namespace {

// A new file waiting beside its final name.
struct Pending {
    std::string temporary;
    const SaveFile* file = nullptr;
};

bool wellFormed(const std::string& dataPath, const std::string& backupPath,
                const std::vector<SaveFile>& files) {
    std::set<std::string> names{backupPath};
    bool namesData = false;
    for (const SaveFile& file : files) {
        if (!names.insert(file.path).second) {
            return false;
        }
        namesData = namesData || file.path == dataPath;
    }
    return namesData && dataPath != backupPath;
}

void removeTemporaries(FileOps& fileOps, const std::vector<Pending>& pending, std::size_t from) {
    for (std::size_t i = from; i < pending.size(); ++i) {
        fileOps.remove(pending[i].temporary);
    }
}

// Writes every file to its temporary; on failure the name of the file that failed, with every
// temporary already written removed again.
std::optional<std::string> writeAll(FileOps& fileOps, const std::string& directory,
                                    const std::vector<SaveFile>& files, mode_t permissions,
                                    std::vector<Pending>& pending) {
    for (const SaveFile& file : files) {
        const std::optional<std::string> temporary = writeTemporaryFile(
            fileOps, directory, fileNameOf(file.path), file.bytes, {permissions, true});
        if (!temporary) {
            removeTemporaries(fileOps, pending, 0);
            pending.clear();
            return file.path;
        }
        pending.push_back({*temporary, &file});
    }
    return std::nullopt;
}

// The data file goes first, so that its name is empty for as short a time as possible.
void putDataFileFirst(std::vector<Pending>& pending, const std::string& dataPath) {
    std::stable_partition(pending.begin(), pending.end(),
                          [&](const Pending& p) { return p.file->path == dataPath; });
}

}  // namespace

SaveResult saveWithBackup(FileOps& fileOps, const std::string& dataPath,
                          const std::string& backupPath, const std::vector<SaveFile>& files,
                          mode_t permissions) {
    if (!wellFormed(dataPath, backupPath, files)) {
        return {false, dataPath};
    }
    const std::string directory = directoryOf(dataPath);
    std::vector<Pending> pending;
    if (const auto failed = writeAll(fileOps, directory, files, permissions & 0777, pending)) {
        return {false, *failed};
    }

    // rename(2) replaces an earlier backup in one step; a backup name taken by a directory
    // makes it fail, and then nothing at all has changed.
    if (fileOps.rename(dataPath, backupPath) != 0) {
        removeTemporaries(fileOps, pending, 0);
        return {false, backupPath};
    }

    putDataFileFirst(pending, dataPath);
    for (std::size_t i = 0; i < pending.size(); ++i) {
        if (fileOps.rename(pending[i].temporary, pending[i].file->path) != 0) {
            // Put the untouched original back under its own name. Should even that fail, it
            // still lies complete under the backup name.
            fileOps.rename(backupPath, dataPath);
            removeTemporaries(fileOps, pending, i);
            fileOps.fsyncDirectory(directory);
            return {false, pending[i].file->path};
        }
    }

    // Every file is in place and the original is the backup; only durability is in question.
    if (fileOps.fsyncDirectory(directory) != 0) {
        return {false, dataPath};
    }
    return {};
}

}  // namespace wemb::platform
