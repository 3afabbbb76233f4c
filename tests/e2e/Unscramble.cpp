// Prints the plain text of a scrambled key-value file the game wrote, so a
// test script can check what the game saved; with NAME VALUE pairs after the
// key it sets those entries and writes the file back scrambled, as a player's
// earlier session could have left it. Exit code 1 when the file is missing or
// damaged or cannot be written.

#include <cstdio>
#include <cstring>

#include "config/KeyValueFile.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: brevora-unscramble FILE KEY [NAME VALUE]...\n");
        return 2;
    }
    const std::size_t keyLength = std::strlen(argv[2]);
    brv::KeyValueFile file;
    if (!file.loadFromFile(argv[1], true, argv[2], keyLength)) {
        std::fprintf(stderr, "brevora-unscramble: %s is missing or damaged\n", argv[1]);
        return 1;
    }
    if (argc == 3) {
        std::fputs(file.toText().c_str(), stdout);
        return 0;
    }
    for (int i = 3; i + 1 < argc; i += 2) {
        file.set(argv[i], argv[i + 1]);
    }
    if (!file.saveToFile(argv[1], argv[2], keyLength)) {
        std::fprintf(stderr, "brevora-unscramble: %s cannot be written\n", argv[1]);
        return 1;
    }
    return 0;
}
