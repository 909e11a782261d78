#include "support/child_process.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;
#endif

#include <cstdio>
#include <stdexcept>
#include <string>

#include "support/test_support.h"

namespace lodemark::test {

#ifdef _WIN32

namespace {

// One argument as the C runtime's parser (CommandLineToArgvW) reads it back:
// quoted, with backslashes doubled only before a quote.
std::wstring quoted(const std::wstring& arg) {
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

}  // namespace

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                           const std::filesystem::path& log) {
  std::wstring command_line = quoted(program.wstring());
  for (const std::string& arg : args) command_line += L" " + quoted(native_path(arg).wstring());
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const HANDLE output = ::CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (output == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + native_text(log));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = output;
  startup.hStdError = output;
  PROCESS_INFORMATION info{};
  // Wine now and then refuses a start right after a kill (seen once in a
  // few hundred starts); a real refusal stays one after a few tries.
  constexpr int kTries = 5;
  for (int attempt = 1;; ++attempt) {
    if (::CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                         &info) != 0)
      break;
    const DWORD error = ::GetLastError();
    if (attempt == kTries) {
      ::CloseHandle(output);
      throw std::runtime_error("cannot start " + native_text(program) + " (error " + std::to_string(error) + ")");
    }
    std::fprintf(stderr, "starting %s was refused (error %lu); trying again\n", native_text(program).c_str(),
                 static_cast<unsigned long>(error));
    ::Sleep(200);
  }
  ::CloseHandle(output);
  ::CloseHandle(info.hThread);
  process_ = info.hProcess;
}

ChildProcess::~ChildProcess() {
  if (process_ == nullptr) return;
  if (!waited_) {
    kill();
    wait();
  }
  ::CloseHandle(process_);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : process_(other.process_), waited_(other.waited_), status_(other.status_) {
  other.process_ = nullptr;
}

int ChildProcess::wait() {
  if (waited_) return status_;
  DWORD code = 0;
  if (::WaitForSingleObject(process_, INFINITE) == WAIT_OBJECT_0 && ::GetExitCodeProcess(process_, &code))
    status_ = static_cast<int>(code);
  waited_ = true;
  return status_;
}

void ChildProcess::kill() {
  if (!waited_) ::TerminateProcess(process_, 128 + 9);
}

#else

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                           const std::filesystem::path& log) {
  std::vector<std::string> all = {program.string()};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : all) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = 0;
  const int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) throw std::runtime_error("cannot start " + program.string());
  pid_ = pid;
}

ChildProcess::~ChildProcess() {
  if (pid_ < 0 || waited_) return;
  kill();
  wait();
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(other.pid_), waited_(other.waited_), status_(other.status_) {
  other.pid_ = -1;
}

int ChildProcess::wait() {
  if (waited_) return status_;
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0) {
    if (errno != EINTR) {
      waited_ = true;
      return status_ = -1;
    }
  }
  waited_ = true;
  status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return status_;
}

void ChildProcess::kill() {
  if (!waited_) ::kill(pid_, SIGKILL);
}

#endif

}  // namespace lodemark::test
