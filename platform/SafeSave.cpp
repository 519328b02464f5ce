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
    OpenTemporary temporary;  // fd -1 once settled
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
        if (pending[i].temporary.fd >= 0) {
            discardTemporaryFile(fileOps, pending[i].temporary);
        } else {
            fileOps.remove(pending[i].temporary.path);
        }
    }
}

// Writes every file to its temporary; on failure the name of the file that failed, with every
// temporary removed again. Each file is sent on its way to the disk as soon as it is written and
// waited for only once all are written, so that the disk works on all of them at once instead
// of one flush after the other.
std::optional<std::string> writeAll(FileOps& fileOps, const std::string& directory,
                                    const std::vector<SaveFile>& files, mode_t permissions,
                                    std::vector<Pending>& pending) {
    for (const SaveFile& file : files) {
        const std::optional<OpenTemporary> temporary =
            createTemporaryFile(fileOps, directory, fileNameOf(file.path), permissions);
        if (!temporary ||
            !fillTemporaryFile(fileOps, *temporary, file.content, {permissions, true})) {
            removeTemporaries(fileOps, pending, 0);
            pending.clear();
            return file.path;
        }
        pending.push_back({*temporary, &file});
    }
    for (std::size_t i = 0; i < pending.size(); ++i) {
        if (settleTemporaryFile(fileOps, pending[i].temporary)) {
            pending[i].temporary.fd = -1;
            continue;
        }
        const std::string failed = pending[i].file->path;
        pending.erase(pending.begin() + static_cast<std::ptrdiff_t>(i));  // closed and removed
        removeTemporaries(fileOps, pending, 0);
        pending.clear();
        return failed;
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
        if (fileOps.rename(pending[i].temporary.path, pending[i].file->path) != 0) {
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
