#pragma once
// Generated data for the micro-benchmarks, in a temporary folder that lives
// as long as the process.
#include <cstdint>
#include <filesystem>
#include <string>

namespace lodemark::bench {

class GeneratedData {
 public:
  // Boreholes and dictionary records of the data; made once per size.
  static const GeneratedData& get(std::int64_t boreholes);
  GeneratedData(const GeneratedData&) = delete;
  GeneratedData& operator=(const GeneratedData&) = delete;
  ~GeneratedData();

  const std::filesystem::path& native() const { return native_; }
  // Program path of the source folder, without a trailing "\".
  std::u32string database() const;
  // Program path of the pattern-data folder, with a trailing "\".
  std::u32string patdat() const;

 private:
  explicit GeneratedData(std::int64_t boreholes);
  std::filesystem::path native_;
};

}  // namespace lodemark::bench
