#include "sim/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace varnola::sim {
namespace {

std::string SystemError(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

}  // namespace

std::string WriteFileAtomically(const std::string& path, const std::string& text) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  std::error_code error;
  if (target.has_parent_path()) {
    fs::create_directories(target.parent_path(), error);
    if (error) return "cannot make " + target.parent_path().string() + ": " + error.message();
  }
  const std::string temporary = path + ".tmp-" + std::to_string(getpid());
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return SystemError("cannot write " + temporary);
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = write(fd, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const std::string reason = SystemError("cannot write " + temporary);
      close(fd);
      unlink(temporary.c_str());
      return reason;
    }
    written += static_cast<std::size_t>(n);
  }
  const bool synced = fsync(fd) == 0;
  if (close(fd) != 0 || !synced) {
    const std::string reason = SystemError("cannot write " + temporary);
    unlink(temporary.c_str());
    return reason;
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    const std::string reason = SystemError("cannot rename " + temporary + " to " + path);
    unlink(temporary.c_str());
    return reason;
  }
  return {};
}

}  // namespace varnola::sim
