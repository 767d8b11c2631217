#pragma once

#include <sys/resource.h>

#include <csignal>

// Caps the size of files this process may write while it lives, so a test
// can make a write fail part-way (SIGXFSZ is ignored and the write reports
// EFBIG instead).
class TFsizeLimit final {
 public:
  explicit TFsizeLimit(rlim_t bytes) {
    FOldHandler = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &FOld);
    rlimit limited = FOld;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~TFsizeLimit() {
    setrlimit(RLIMIT_FSIZE, &FOld);
    std::signal(SIGXFSZ, FOldHandler);
  }
  TFsizeLimit(const TFsizeLimit&) = delete;
  TFsizeLimit& operator=(const TFsizeLimit&) = delete;

 private:
  rlimit FOld{};
  void (*FOldHandler)(int) = nullptr;
};
