// Prints the plain text of a scrambled key-value file the game wrote, so a
// test script can check what the game saved. Exit code 1 when the file is
// missing or damaged.

#include <cstdio>
#include <cstring>

#include "config/KeyValueFile.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: brevora-unscramble FILE KEY\n");
        return 2;
    }
    brv::KeyValueFile file;
    if (!file.loadFromFile(argv[1], true, argv[2], std::strlen(argv[2]))) {
        std::fprintf(stderr, "brevora-unscramble: %s is missing or damaged\n", argv[1]);
        return 1;
    }
    std::fputs(file.toText().c_str(), stdout);
    return 0;
}
