#include "bench/micro_data.h"

#include <map>
#include <memory>
#include <random>
#include <stdexcept>
#include <system_error>

#include "bench/gen_data.h"
#include "platform/drives.h"

namespace lodemark::bench {
namespace {

std::u32string program_path(const std::filesystem::path& native) {
  const auto path = platform::to_program_path(native.string());
  if (!path) throw std::runtime_error("no drive reaches " + native.string());
  return *path;
}

}  // namespace

const GeneratedData& GeneratedData::get(std::int64_t boreholes) {
  static std::map<std::int64_t, std::unique_ptr<GeneratedData>> made;
  auto& slot = made[boreholes];
  if (!slot) slot.reset(new GeneratedData(boreholes));
  return *slot;
}

GeneratedData::GeneratedData(std::int64_t boreholes)
    : native_(std::filesystem::temp_directory_path() /
              ("lodemark-micro-" + std::to_string(std::random_device{}()) + "-" + std::to_string(boreholes))) {
  std::filesystem::remove_all(native_);
  generate({.boreholes = boreholes, .seed = 1, .dictionary_records = 5000, .out = native_});
}

GeneratedData::~GeneratedData() {
  std::error_code ignored;
  std::filesystem::remove_all(native_, ignored);
}

std::u32string GeneratedData::database() const { return program_path(native_ / kDatabaseFolder); }

std::u32string GeneratedData::patdat() const { return program_path(native_ / kPatdatFolder) + U"\\"; }

}  // namespace lodemark::bench
