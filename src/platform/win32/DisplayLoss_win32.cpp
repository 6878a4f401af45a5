#include "platform/DisplayLoss.h"

namespace platform {

void SetDisplayLostHandler(int (*)()) {}

} // namespace platform
