#include "base/program_state.h"

namespace lodemark {

std::u32string PatdatFolder;
std::int16_t MsgShownFlag = 0;

}  // namespace lodemark
