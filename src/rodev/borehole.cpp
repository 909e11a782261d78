#include "rodev/borehole.h"

#include "base/text.h"

namespace lodemark {
namespace {

// Characters of the number and of the name in a list text.
constexpr std::size_t kFieldChars = 8;

}  // namespace

std::u32string CatalogueEntry::number() const { return text_.substr(0, kFieldChars); }

std::u32string CatalogueEntry::name() const {
  return text_.substr(text_.size() > kFieldChars ? text_.size() - kFieldChars : 0);
}

std::u32string CatalogueEntry::folder_name() const { return trim_spaces(number()); }

std::u32string CatalogueEntry::hole_name() const { return trim_spaces(name()); }

}  // namespace lodemark
