// echotwice: copies standard input to standard output, every character twice, each pair
// preceded by a line of four dots, between a begin line and an end line. The standard streams
// are text streams: where the platform translates line ends, the program still sees and writes
// only line feeds.
#include <cstdio>

#include "echo_twice.h"

int main() {
    std::puts("echotwice : begin");
    if (IsInteractive(stdin)) {
        EchoTwiceByCharacter(stdin, stdout);
    } else {
        EchoTwiceByBlock(stdin, stdout);
    }
    std::puts("echotwice : end");
    return 0;
}
