#pragma once
// Field values as text, the same in every format the program writes itself:
// numbers in the C locale's form with no more decimals than they need.
#include <optional>
#include <string>
#include <string_view>

#include "export/feature_table.h"

namespace lodemark::exports {

// A number as an output file writes it ("1.20", "-3.5"), read exactly in
// double precision; nothing for a text that is not such a number.
std::optional<double> written_number(std::u32string_view text);

// At most 8 decimals (about 1 mm of latitude), trailing zeros dropped:
// "35.68111111", "1.2", "3".
std::string real_text(double value);

// UTF-8; empty for a value the data does not give.
std::string field_text(const FieldValue& value);

}  // namespace lodemark::exports
