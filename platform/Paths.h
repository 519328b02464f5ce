#pragma once
// File-name arithmetic and the few questions the program asks about the file system. Paths are
// 8-bit text: bytes on POSIX, UTF-8 on Windows (converted to UTF-16 only at the system calls).
// On POSIX only "/" separates components; on Windows "\" and "/" both do, and a path may begin
// with a root that is kept whole: "C:", "C:\", "\\server\share\". Nothing has a length limit.

#include <string>
#include <vector>

namespace wemb::platform {

// The full path of the running program file, "" if it cannot be found out.
std::string programPath();

// The directory that holds the running program file, "" if unknown.
std::string programDirectory();

// The directory part of `path` without a trailing separator: "a/b/c" -> "a/b", "/c" -> "/",
// "C:\c" -> "C:\", "C:c" -> "C:". "" for a bare name, which means the current directory.
std::string directoryOf(const std::string& path);

// The last component of `path`: "a/b/c.CE2" -> "c.CE2".
std::string fileNameOf(const std::string& path);

// `name` inside `directory`; an empty directory leaves `name` as it is (relative to the current
// directory), and a `name` with a root is returned unchanged.
std::string joinPath(const std::string& directory, const std::string& name);

// The current working directory, "" if it cannot be found out.
std::string currentDirectory();

// The absolute path of an existing file with every symbolic link resolved, "" if it does not
// exist or cannot be resolved.
std::string resolvedPath(const std::string& path);

// The file a symbolic link points at, or `path` itself when it is no link.
std::string followedLink(const std::string& path);

// True when both paths name one existing file.
bool sameFile(const std::string& a, const std::string& b);

// True when `path` names a regular file (after links) that this process can open for reading.
// Never blocks, not even on a FIFO or a device.
bool canOpenForReading(const std::string& path);

// True when `path` names a directory in which this process may create files.
bool isWritableDirectory(const std::string& path);

// Creates `path` and its missing parents; true when the directory exists afterwards.
bool createDirectories(const std::string& path);

// The program's arguments (without its name) as 8-bit text; on Windows from the UTF-16 command
// line, whatever the code page.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// The value of an environment variable, "" when unset.
std::string environmentVariable(const char* name);

// A path as the editor's QUIL.INI holds it: CP932 text on Windows, where the editor writes it in
// its ANSI code page; on POSIX the bytes of the name are kept.
std::string pathFromSettings(const std::string& text);

}  // namespace wemb::platform
