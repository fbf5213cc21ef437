#include "echo_twice.h"

#include <io.h>

bool IsInteractive(std::FILE* stream) {
    return _isatty(_fileno(stream)) != 0;
}
