#pragma once

// The table of every registered class, in registration order. It lives at
// the top of the core because its rows name the factories of every layer.
class EdClassTable
{
public:
    // Hands the rows to the registry's table (BcClassTable::install).
    static void install();
};
