#pragma once

#include "foundation/BcString.h"

#include <ostream>

// Lets GoogleTest show strings as text in failure messages.
inline void PrintTo(const BcString& text, std::ostream* os)
{
    *os << '"' << text.toNarrow(BcString::utf8CodePage) << '"';
}
