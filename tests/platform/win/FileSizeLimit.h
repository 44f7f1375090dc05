// Makes writes past a file size fail (even for root) for as long as it lives.
#pragma once

#include <sys/resource.h>

#include <csignal>

class TFileSizeLimit {
public:
  explicit TFileSizeLimit(rlim_t bytes) {
    // Past the limit the write fails instead of the process being killed.
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &FOld);
    rlimit small = FOld;
    small.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &small);
  }
  ~TFileSizeLimit() { setrlimit(RLIMIT_FSIZE, &FOld); }
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
  rlimit FOld{};
};
