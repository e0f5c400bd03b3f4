// Stands in for the browser and the mail program: appends what the shell asked it to open to a file.
// Command line: recorder OUTPUT-FILE TARGET
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3)
        return 1;
    FILE* f = std::fopen(argv[1], "ab");
    if (f == nullptr)
        return 2;
    std::fprintf(f, "%s\n", argv[2]);
    std::fclose(f);
    return 0;
}
