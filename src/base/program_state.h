#pragma once
// The two program-wide values of the design.
#include <cstdint>
#include <string>

namespace lodemark {

// The pattern-data folder with a trailing "\"; set once at start-up.
extern std::u32string PatdatFolder;
// 1 while the completion message of a run stands in the status line.
extern std::int16_t MsgShownFlag;

}  // namespace lodemark
