#include "soil_dictionary/soil_records.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/messages.h"
#include "base/utf8.h"
#include "support/test_support.h"

namespace lodemark {
namespace {

std::vector<std::string> read_all_records(std::string_view content) {
  SoilRecordReader reader(content, U"Z:\\p\\KISHITU.TXT");
  std::vector<std::string> out;
  SoilRecord record;
  while (reader.next(record)) out.push_back(join_soil_record(record));
  return out;
}

TEST(SoilRecordReader, ReadsRecordsAsLines) {
  const struct {
    const char* name;
    std::string content;
    std::vector<std::string> records;
  } cases[] = {
      {"written by this program",
       "1000,粘土と砂の互層,    ,    ,    ,0000\r\n1001,砂と礫の互層,    ,    ,    ,0000\r\n",
       {"1000,粘土と砂の互層,,,,0000", "1001,砂と礫の互層,,,,0000"}},
      {"last line without line end", "4501,腐植土,a,b,c,0000", {"4501,腐植土,a,b,c,0000"}},
      {"empty file", "", {}},
      {"blank lines between and after records",
       "\r\n1,a,b,c,d,e\r\n\r\n  \r\n2,f,g,h,i,j\r\n\r\n",
       {"1,a,b,c,d,e", "2,f,g,h,i,j"}},
      {"CR alone ends a line, LF alone is a byte of its field",
       "1,a\nb,c,d,e,f\r2,g,h,i,j,k\n\r\n3,l,m,n,o,p\n",
       {"1,a\nb,c,d,e,f", "2,g,h,i,j,k\n", "3,l,m,n,o,p\n"}},
      {"an LF after a blank line's CR LF starts a field",
       "1,a,b,c,d,e\r\n\n2,f,g,h,i,j",
       {"1,a,b,c,d,e", "\n2,f,g,h,i,j"}},
      {"quoted fields lose their quotes, keep commas (quoted again when joined)",
       "1,\"a,b\" ,\" x \",d,e,f\r\n",
       {"1,\"a,b\",\" x \",d,e,f"}},
      {"leading blanks skipped, trailing kept", "  1,  name  ,\t c,d,e,f\r\n", {"1,name  ,c,d,e,f"}},
      {"a record split over two lines", "1,a,b\r\nc,d,e\r\n", {"1,a,b,c,d,e"}},
      {"an empty sixth field after a final comma", "1,a,b,c,d,", {"1,a,b,c,d,"}},
      {"unclosed quote ends at the line end", "1,\"abc\r\nc,d,e,f\r\n", {"1,abc,c,d,e,f"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(read_all_records(c.content), c.records) << c.name;
    // Joined records read back as the same records.
    std::string joined;
    for (const auto& record : read_all_records(c.content)) joined += record + "\r\n";
    EXPECT_EQ(read_all_records(joined), read_all_records(c.content)) << c.name;
  }
}

TEST(SoilRecordReader, RecordCutShortIsReportedWithTheFieldItLacks) {
  const struct {
    const char* content;
    char32_t missing_field;
  } cases[] = {
      {"1,a,b,c,d,e\r\n2,f,g\r\n", U'4'},
      {"1,a,b,c,d", U'6'},
      {"1,a,b,c,d\r\n", U'6'},
      {"1", U'2'},
      // Records that do not end at a line end: more fields on the line.
      {"1,a,b,c,d,e,f\r\n", U'6'},
      {"1,a,b,c,d,e\n2,f,g,h,i,j\r\n", U'6'},
      {"1,a,b,c,d,e\n2,f,g,h,i,j\n3,k,l,m,n,o\n4,p,q,r,s,t\n5,u,v,w,x,y\n6,z,a,b,c,d\n7,e,f,g,h,i\n", U'6'},
      {"1,a,b\r\nc,d,e,f\r\n", U'6'},
  };
  for (const auto& c : cases) {
    const std::u32string message = test::failure_message([&] { read_all_records(c.content); });
    EXPECT_EQ(message,
              kRecordCutShortLead + std::u32string(1, c.missing_field) + kRecordCutShortTail + U"Z:\\p\\KISHITU.TXT")
        << c.content << ": " << to_utf8(message);
  }
}

TEST(SoilRecordReader, FieldsAreViewsOfTheBytesAsWritten) {
  // 0x5C as the second byte of a two-byte character and a byte that starts
  // no character both pass through untouched.
  const std::string content = "1,\x83\x5C\x81\x5B\xFF,x,x,x,x\r\n";
  SoilRecordReader reader(content, U"f");
  SoilRecord record;
  ASSERT_TRUE(reader.next(record));
  EXPECT_EQ(record[1], "\x83\x5C\x81\x5B\xFF");
  EXPECT_FALSE(reader.next(record));
}

}  // namespace
}  // namespace lodemark
