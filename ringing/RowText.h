#pragma once

#include "ringing/Row.h"

#include <string>

// A row in the ringers' symbols 1234567890ETABCD (bell 0 is "1"), no blanks.
std::string RowText(const Row& row, int stage);
