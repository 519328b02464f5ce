#pragma once
// File-name arithmetic and the few questions the program asks about the file system. Paths are
// bytes; only "/" separates components. Nothing here has a length limit.

#include <string>

namespace wemb::platform {

// The full path of the running program file, "" if it cannot be found out.
std::string programPath();

// The directory that holds the running program file, "" if unknown.
std::string programDirectory();

// The directory part of `path` without a trailing separator: "a/b/c" -> "a/b", "/c" -> "/".
// "" for a bare name, which means the current directory.
std::string directoryOf(const std::string& path);

// The last component of `path`: "a/b/c.CE2" -> "c.CE2".
std::string fileNameOf(const std::string& path);

// `name` inside `directory`; an empty directory leaves `name` as it is (relative to the current
// directory), and an absolute `name` is returned unchanged.
std::string joinPath(const std::string& directory, const std::string& name);

// The current working directory, "" if it cannot be found out.
std::string currentDirectory();

// The absolute path of an existing file with every symbolic link resolved, "" if it does not
// exist or cannot be resolved.
std::string resolvedPath(const std::string& path);

// True when `path` names a regular file (after links) that this process can open for reading.
// Never blocks, not even on a FIFO.
bool canOpenForReading(const std::string& path);

// True when `path` names a directory in which this process may create files.
bool isWritableDirectory(const std::string& path);

}  // namespace wemb::platform
