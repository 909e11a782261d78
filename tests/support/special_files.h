#pragma once
// Files a reader must refuse rather than read: a FIFO without a writer
// (opening it would wait), a link to /dev/zero (reading it never ends) and a
// sparse file larger than a bound.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace lodemark::test {

enum class SpecialFile { Fifo, EndlessDevice, Oversized };

inline const char* special_file_name(SpecialFile kind) {
  constexpr const char* kNames[] = {"a FIFO", "a link to /dev/zero", "an oversized file"};
  return kNames[static_cast<int>(kind)];
}

// Replaces whatever is at `path`; an oversized file gets `size` bytes (holes,
// no disk space). False where the system has no such thing (FIFOs and
// devices on Windows).
inline bool make_special_file(const std::filesystem::path& path, SpecialFile kind, std::uintmax_t size) {
  std::filesystem::remove(path);
  switch (kind) {
    case SpecialFile::Fifo:
#ifdef _WIN32
      return false;
#else
      return ::mkfifo(path.c_str(), 0666) == 0;
#endif
    case SpecialFile::EndlessDevice:
#ifdef _WIN32
      return false;
#else
      std::filesystem::create_symlink("/dev/zero", path);
      return true;
#endif
    case SpecialFile::Oversized:
      std::ofstream(path, std::ios::binary).put('1');
      std::filesystem::resize_file(path, size);
      return true;
  }
  return false;
}

// What `body` answers. A reader that waits on a FIFO or reads /dev/zero
// never comes back: after 30 seconds the test program ends with a failure
// instead of hanging the suite.
template <class Body>
auto within_time_limit(Body body) -> decltype(body()) {
  auto answer = std::async(std::launch::async, std::move(body));
  if (answer.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
    ADD_FAILURE() << "no answer within 30 s";
    std::fflush(nullptr);
    std::_Exit(1);
  }
  return answer.get();
}

}  // namespace lodemark::test
