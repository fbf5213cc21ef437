#include "echo_twice.h"

#include <unistd.h>

bool IsInteractive(std::FILE* stream) {
    return isatty(fileno(stream)) != 0;
}
