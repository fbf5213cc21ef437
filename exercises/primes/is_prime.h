// The primality predicate of the prime filter. By definition 1, 0 and every negative number
// count as prime (the predicate answers 1 for every n <= 3), even numbers above 2 do not, and
// odd numbers from 5 on are tested for a divisor.
#pragma once

#include <cstdint>

// 1 or 0. Fast: a deterministic Miller-Rabin test for the odd numbers that trial division
// would take long over. Gives the same answer as IsPrimeByTrialDivision for every n.
int32_t IsPrime(int32_t n);

// The defining trial division: d = 3, 4, 5, ... (even d too) until d * d > n or d divides n.
// d * d is compared without wrapping, so the rule holds up to the top of the 32-bit range.
int32_t IsPrimeByTrialDivision(int32_t n);
