#include "platform/file_lock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <vector>

#include "platform/files.h"
#include "platform/retry.h"
#include "support/test_support.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace lodemark::platform {
namespace {

using namespace std::chrono_literals;
using test::write_bytes;

class FileLockTest : public ::testing::Test {
 protected:
  FileLockTest() { write_bytes(dir_.native("KISHITU.TXT"), "1000,a,,,,0000\r\n"); }
  ProgramPath file() const { return dir_.program(U"KISHITU.TXT"); }
  test::TempDir dir_;
};

TEST_F(FileLockTest, SecondHolderOfThisProcessWaitsUntilTheFirstLetsGo) {
  {
    const auto held = FileLock::acquire(file(), 0ms);
    ASSERT_TRUE(held);
    EXPECT_TRUE(held->exclusive());
    // Reading and appending open and close the file again; the lock must
    // outlive those handles, and the content stays reachable.
    EXPECT_EQ(read_all(file(), kNoSizeBound), "1000,a,,,,0000\r\n");
    FileWriter(file(), FileWriter::Mode::Append).close();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(FileLock::acquire(file(), 150ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 150ms);
  }
  EXPECT_TRUE(FileLock::acquire(file(), 0ms));
}

#ifdef _WIN32

TEST_F(FileLockTest, ReadOnlyFileIsLockedSharedByEveryReader) {
  std::filesystem::permissions(dir_.native("KISHITU.TXT"), std::filesystem::perms::owner_read);
  if (can_open_read_write(file())) {
    std::filesystem::permissions(dir_.native("KISHITU.TXT"), std::filesystem::perms::owner_all);
    GTEST_SKIP() << "the administrator writes read-only files (Wine run as root)";
  }
  {
    const auto first = FileLock::acquire(file(), 0ms);
    const auto second = FileLock::acquire(file(), 0ms);
    ASSERT_TRUE(first && second);
    EXPECT_FALSE(first->exclusive());
    EXPECT_FALSE(second->exclusive());
  }
  std::filesystem::permissions(dir_.native("KISHITU.TXT"), std::filesystem::perms::owner_all);
}

#else

// Whether another process takes the lock at once.
bool other_process_gets_lock(const ProgramPath& file) {
  const pid_t child = ::fork();
  if (child == 0) {
    try {
      ::_exit(FileLock::acquire(file, 0ms) ? 0 : 1);
    } catch (...) {
      ::_exit(2);
    }
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(FileLockTest, OneHolderAtATime) {
  EXPECT_TRUE(other_process_gets_lock(file()));
  {
    const auto held = FileLock::acquire(file(), 0ms);
    ASSERT_TRUE(held);
    EXPECT_TRUE(held->exclusive());
    EXPECT_FALSE(other_process_gets_lock(file()));
    // Reading and appending to the locked file open and close it again; the
    // lock must outlive those descriptors.
    read_all(file(), kNoSizeBound);
    FileWriter(file(), FileWriter::Mode::Append).close();
    EXPECT_FALSE(other_process_gets_lock(file()));
    // A second descriptor of this same process waits like any other.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(FileLock::acquire(file(), 150ms));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 150ms);
  }
  EXPECT_TRUE(other_process_gets_lock(file()));
}

TEST_F(FileLockTest, WaiterGetsTheLockWhenTheHolderLetsGo) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    const auto held = FileLock::acquire(file(), 0ms);
    const char byte = held ? 'y' : 'n';
    if (::write(ready[1], &byte, 1) != 1) ::_exit(2);
    ::usleep(200'000);
    ::_exit(0);  // ending the process lets go
  }
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  ASSERT_EQ(byte, 'y');
  const auto start = std::chrono::steady_clock::now();
  const auto held = FileLock::acquire(file(), 10s);
  EXPECT_TRUE(held);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  ::waitpid(child, nullptr, 0);
  ::close(ready[0]);
  ::close(ready[1]);
}

#endif

TEST_F(FileLockTest, MissingFileIsNamed) {
  const ProgramPath missing = dir_.program(U"missing.txt");
  const std::u32string message = test::failure_message([&] { (void)FileLock::acquire(missing, 0ms); });
  EXPECT_NE(message.find(missing.text()), std::u32string::npos) << to_utf8(message);
  EXPECT_FALSE(test::native_exists(dir_.native("missing.txt")));
}

// A clock that moves only when paused, and the pauses asked of it.
class FakeWaiting : public Waiting {
 public:
  std::chrono::steady_clock::time_point now() override { return now_; }
  void pause(std::chrono::steady_clock::duration length) override {
    pauses.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(length));
    now_ += length;
  }
  std::vector<std::chrono::milliseconds> pauses;

 private:
  std::chrono::steady_clock::time_point now_{};
};

TEST(RetryUntil, PausesGrowToTheLongestAndNeverPassTheTimeout) {
  const struct {
    std::chrono::milliseconds timeout;
    int refusals;  // before the attempt that succeeds
    bool succeeds;
    std::vector<std::chrono::milliseconds> pauses;
  } rows[] = {
      {0ms, 0, true, {}},
      {0ms, 3, false, {}},  // one attempt, no waiting
      {100ms, 3, true, {2ms, 4ms, 8ms}},
      {100ms, 1000, false, {2ms, 4ms, 8ms, 16ms, 32ms, 38ms}},  // the last pause ends at the timeout
      {100ms, 6, true, {2ms, 4ms, 8ms, 16ms, 32ms, 38ms}},      // an attempt at the timeout still counts
      {300ms, 1000, false, {2ms, 4ms, 8ms, 16ms, 32ms, 50ms, 50ms, 50ms, 50ms, 38ms}},
  };
  for (const auto& row : rows) {
    FakeWaiting waiting;
    int attempts = 0;
    const bool succeeded = retry_until([&] { return attempts++ == row.refusals; }, row.timeout, {2ms, 50ms}, waiting);
    EXPECT_EQ(succeeded, row.succeeds) << row.timeout.count() << " ms, " << row.refusals;
    EXPECT_EQ(waiting.pauses, row.pauses) << row.timeout.count() << " ms, " << row.refusals;
    EXPECT_EQ(attempts, static_cast<int>(row.pauses.size()) + 1);
  }
}

TEST(RetryUntil, AFailingAttemptEndsTheWait) {
  FakeWaiting waiting;
  const auto fail = []() -> bool { throw FileError(U"op", U"C:\\x", U"reason"); };
  EXPECT_THROW(retry_until(fail, 1000ms, {2ms, 50ms}, waiting), FileError);
  EXPECT_TRUE(waiting.pauses.empty());
}

}  // namespace
}  // namespace lodemark::platform
