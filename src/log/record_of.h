#pragma once
// The log record of a finished calculation: the choice in the words the user
// saw, the results as the display shows them.
#include "calc/calculation.h"
#include "log/log_record.h"

namespace nimbo {

LogRecord RecordOf(const Choice& choice, const Outcome& outcome);

}  // namespace nimbo
