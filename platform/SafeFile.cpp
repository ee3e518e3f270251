#include "platform/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace platform {
namespace {

int SystemOpen(const char* path, int flags) { return ::open(path, flags); }
ssize_t SystemRead(int fd, void* buffer, size_t size) { return ::read(fd, buffer, size); }

std::string Reason(int error) { return std::strerror(error); }

struct Descriptor {
  int Fd;
  ~Descriptor() {
    if (Fd >= 0) ::close(Fd);
  }
};

SmallFileRead Fail(std::string why) {
  SmallFileRead result;
  result.State = SmallFileRead::Failed;
  result.Error = std::move(why);
  return result;
}

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<size_t>(wrote);
  }
  return true;
}

}  // namespace

FileCalls& FileLayer() {
  static FileCalls calls{&SystemOpen, &SystemRead};
  return calls;
}

SmallFileRead ReadSmallFile(const std::string& path, size_t maxBytes) {
  // Non-blocking: opening a FIFO must not wait for a writer.
  const Descriptor file{FileLayer().Open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)};
  if (file.Fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return {};  // no file can be there
    return Fail("開けません: " + Reason(errno));
  }
  struct stat info {};
  if (::fstat(file.Fd, &info) != 0) return Fail("開けません: " + Reason(errno));
  if (!S_ISREG(info.st_mode)) return Fail("通常のファイルではありません");
  if (static_cast<unsigned long long>(info.st_size) > maxBytes)
    return Fail("大きすぎます (" + std::to_string(maxBytes / 1024) + " KB まで)");
  SmallFileRead result;
  result.State = SmallFileRead::Read;
  char buffer[8192];
  for (;;) {
    const ssize_t got = FileLayer().Read(file.Fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Fail("読み込めません: " + Reason(errno));
    if (got == 0) break;
    result.Bytes.append(buffer, static_cast<size_t>(got));
    // A file that grows while it is read.
    if (result.Bytes.size() > maxBytes) return Fail("大きすぎます (" + std::to_string(maxBytes / 1024) + " KB まで)");
  }
  return result;
}

std::string FollowLinks(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path target(path);
  std::error_code error;
  // As the system does, a chain of links ends after 40 steps.
  for (int step = 0; step < 40 && fs::is_symlink(fs::symlink_status(target, error)); ++step) {
    const fs::path link = fs::read_symlink(target, error);
    if (error) break;
    target = link.is_absolute() ? link : target.parent_path() / link;
  }
  return target.lexically_normal().string();
}

bool WriteSmallFile(const std::string& path, const std::string& text, std::string* error) {
  const auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  const std::string target = FollowLinks(path);
  struct stat info {};
  bool existed = false;
  if (::stat(target.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) return fail("通常のファイルではありません");
    existed = true;
  } else if (errno != ENOENT) {
    return fail(Reason(errno));
  }
  const std::string temporary = target + ".tmp-" + std::to_string(::getpid());
  ::unlink(temporary.c_str());
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return fail(Reason(errno));
  // An existing file keeps its permissions.
  bool written = (!existed || ::fchmod(fd, info.st_mode & 07777) == 0) && WriteAll(fd, text) && ::fsync(fd) == 0;
  const int saved = errno;
  if (::close(fd) != 0 && written) written = false;
  if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
    const std::string why = Reason(written ? errno : saved);
    ::unlink(temporary.c_str());
    return fail(why);
  }
  const std::string folder = std::filesystem::path(target).parent_path().string();
  if (const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace platform
