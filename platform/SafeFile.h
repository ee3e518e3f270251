#pragma once
// The program's own small files (the settings file, the component
// registry): read only when they are regular files of a sensible size, so a
// FIFO, a device or a huge file cannot hang or exhaust the program; written
// atomically, through a symbolic link to its target.
#include <sys/types.h>

#include <cstddef>
#include <string>

namespace platform {

// Larger files are not the program's own.
inline constexpr size_t kMaxSmallFile = 1024 * 1024;

struct SmallFileRead {
  enum Outcome { Read, Missing, Failed };
  Outcome State = Missing;
  std::string Bytes;  // Read: the whole file
  std::string Error;  // Failed: why, in Japanese (an I/O error, not a regular file, too large)
};

// The file at path, after following symbolic links. Missing only when no
// file is there; any other failure to read is Failed, never a file that
// merely reads as empty.
SmallFileRead ReadSmallFile(const std::string& path, size_t maxBytes = kMaxSmallFile);

// Writes text as the whole new content of the file at path: a temporary
// file beside the target, flushed, then renamed over it, so the file is
// whole or unchanged. A symbolic link at path is followed and stays; its
// target is replaced. An existing file keeps its permissions; a new one
// gets 0644 (less the umask). False with a reason in error when it cannot be
// written, also when the target is not a regular file.
bool WriteSmallFile(const std::string& path, const std::string& text, std::string* error = nullptr);

// Where the file at path really is: symbolic links followed (also a
// dangling last one); path itself when there is no link.
std::string FollowLinks(const std::string& path);

// The system calls the readers go through; tests replace them to inject
// failures (EMFILE, EIO) and put the old ones back.
struct FileCalls {
  int (*Open)(const char* path, int flags) = nullptr;
  ssize_t (*Read)(int fd, void* buffer, size_t size) = nullptr;
};
FileCalls& FileLayer();

}  // namespace platform
