#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "support/test_support.h"

namespace lodemark::platform {
namespace {

using test::TempDir;

// Longer than any line these tests write.
constexpr std::size_t kWholeLine = 1 << 20;

std::vector<std::string> read_lines(const std::u32string& path) {
  TextReader reader(path);
  std::vector<std::string> lines;
  std::string line;
  while (reader.read_line(line, kWholeLine)) lines.push_back(line);
  return lines;
}

TEST(TextReader, LineEnds) {
  const struct {
    std::string bytes;
    std::vector<std::string> lines;
  } rows[] = {
      {"", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\nb\r\nc", {"a\nb", "c"}},  // LF alone belongs to the line; no final line end
      {"a\n", {"a\n"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"\r\n", {""}},
      {"\r\r", {"", ""}},
      {"a\r\r\n", {"a", ""}},
      {"\n\r", {"\n"}},
      {"\r\n\n", {"", "\n"}},
      // Shift-JIS with 0x5C trail bytes stays whole.
      {"\x95\x5C,\x83\x5C\r\n\x94\x5C", {"\x95\x5C,\x83\x5C", "\x94\x5C"}},
  };
  const TempDir dir;
  for (const auto& row : rows) {
    test::write_bytes(dir.native("t.txt"), row.bytes);
    EXPECT_EQ(read_lines(dir.program(U"t.txt")), row.lines) << row.bytes;
  }
}

TEST(TextReader, LineEndsAcrossTheReadBlock) {
  // The reader takes the file in blocks of 64 KiB; put CR, CR LF and LF on
  // both sides of the first block's end.
  constexpr std::size_t kBlock = 1 << 16;
  const TempDir dir;
  for (std::size_t cr_at : {kBlock - 2, kBlock - 1, kBlock, 2 * kBlock - 1}) {
    const std::string first(cr_at, 'x');
    test::write_bytes(dir.native("crlf.txt"), first + "\r\nnext\r\n");
    EXPECT_EQ(read_lines(dir.program(U"crlf.txt")), (std::vector<std::string>{first, "next"})) << cr_at;
    {
      TextReader reader(dir.program(U"crlf.txt"));
      std::string line;
      ASSERT_TRUE(reader.read_line(line, kWholeLine));
      EXPECT_EQ(reader.position(), cr_at + 2) << cr_at;
      ASSERT_TRUE(reader.read_line(line, kWholeLine));
      reader.seek(cr_at + 2);
      ASSERT_TRUE(reader.read_line(line, kWholeLine));
      EXPECT_EQ(line, "next") << cr_at;
    }

    test::write_bytes(dir.native("cr.txt"), first + "\rnext");
    EXPECT_EQ(read_lines(dir.program(U"cr.txt")), (std::vector<std::string>{first, "next"})) << cr_at;

    test::write_bytes(dir.native("lf.txt"), first + "\nnext\r");
    EXPECT_EQ(read_lines(dir.program(U"lf.txt")), (std::vector<std::string>{first + "\nnext"})) << cr_at;

    test::write_bytes(dir.native("end.txt"), first + "\r");
    EXPECT_EQ(read_lines(dir.program(U"end.txt")), (std::vector<std::string>{first})) << cr_at;
  }
}

TEST(TextReader, PositionIsTheNextUnreadLineAndSeekGoesBack) {
  const TempDir dir;
  test::write_bytes(dir.native("t.txt"), "one\r\ntwo\rthree\r\n");
  TextReader reader(dir.program(U"t.txt"));
  std::string line;
  EXPECT_EQ(reader.position(), 0u);
  ASSERT_TRUE(reader.read_line(line, kWholeLine));
  EXPECT_EQ(reader.position(), 5u);
  ASSERT_TRUE(reader.read_line(line, kWholeLine));
  EXPECT_EQ(reader.position(), 9u);
  ASSERT_TRUE(reader.read_line(line, kWholeLine));
  EXPECT_EQ(line, "three");
  EXPECT_EQ(reader.position(), 16u);
  EXPECT_TRUE(reader.at_end());
  EXPECT_FALSE(reader.read_line(line, kWholeLine));
  EXPECT_EQ(line, "");

  reader.seek(5);
  EXPECT_FALSE(reader.at_end());
  ASSERT_TRUE(reader.read_line(line, kWholeLine));
  EXPECT_EQ(line, "two");
  reader.seek(0);
  ASSERT_TRUE(reader.read_line(line, kWholeLine));
  EXPECT_EQ(line, "one");
}

TEST(TextReader, SeekBackAcrossBlocks) {
  constexpr int kLines = 20000;  // about 200 KiB, several blocks
  std::string bytes;
  for (int i = 0; i < kLines; ++i) bytes += "line " + std::to_string(i) + "\r\n";
  const TempDir dir;
  test::write_bytes(dir.native("big.txt"), bytes);

  TextReader reader(dir.program(U"big.txt"));
  std::string line;
  std::vector<std::uint64_t> positions;
  for (int i = 0; i < kLines; ++i) {
    positions.push_back(reader.position());
    ASSERT_TRUE(reader.read_line(line, kWholeLine));
    ASSERT_EQ(line, "line " + std::to_string(i));
  }
  EXPECT_EQ(reader.position(), bytes.size());
  EXPECT_FALSE(reader.read_line(line, kWholeLine));

  for (int i : {12345, 3, 19999, 0, 7000}) {
    reader.seek(positions[static_cast<std::size_t>(i)]);
    ASSERT_TRUE(reader.read_line(line, kWholeLine));
    EXPECT_EQ(line, "line " + std::to_string(i));
    ASSERT_TRUE(reader.read_line(line, kWholeLine) || i == kLines - 1);
  }
}

TEST(TextReader, MissingFileOrFolderThrowsNamingThePath) {
  const TempDir dir;
  for (const std::u32string& path : {dir.program(U"missing.txt"), dir.program()}) {
    try {
      TextReader reader(path);
      ADD_FAILURE() << "opened " << test::u8(path);
    } catch (const FileError& e) {
      EXPECT_EQ(e.path(), path);
      EXPECT_NE(e.message().find(path), std::u32string::npos);
    }
  }
}

}  // namespace
}  // namespace lodemark::platform
