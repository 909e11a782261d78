#pragma once
// Another program run by a test: started, waited for, killed. Its standard
// output and error go to a log file.
#include <filesystem>
#include <string>
#include <vector>

namespace lodemark::test {

class ChildProcess {
 public:
  // Starts `program` with `args` (UTF-8); throws std::runtime_error when it
  // cannot be started.
  ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& log);
  // A process still running is killed and waited for.
  ~ChildProcess();
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&&) = delete;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The exit status, or 128 + the signal that ended it (POSIX); -1 when it
  // cannot be had.
  int wait();
  // Ends the process at once, as a power cut would end its writes
  // (SIGKILL, TerminateProcess).
  void kill();

 private:
#ifdef _WIN32
  void* process_ = nullptr;  // HANDLE
#else
  int pid_ = -1;
#endif
  bool waited_ = false;
  int status_ = -1;
};

}  // namespace lodemark::test
