// Writes the needle frames picture to the file named on the command line.
#include <cstdio>
#include <string>

#include "needle_frames.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fbw_needle_frames <output.ppm>\n");
        return 2;
    }
    const std::string ppm = NeedleFramesPpm();
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr || std::fwrite(ppm.data(), 1, ppm.size(), file) != ppm.size()) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return std::fclose(file) == 0 ? 0 : 1;
}
