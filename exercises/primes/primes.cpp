// primes: reads integers from standard input and prints each with its primality, between a
// begin line and an end line. Reading stops at the end of the input, at the first text that is
// not a number, or at the number 0, which is neither tested nor printed.
#include <cstdio>

#include "is_prime.h"
#include "read_int.h"

int main() {
    std::puts("primes : begin");
    int32_t n;
    while (ReadInt(stdin, &n) == 1 && n != 0) {
        std::printf("n=%d : %d\n", static_cast<int>(n), static_cast<int>(IsPrime(n)));
    }
    std::puts("primes : end");
    return 0;
}
