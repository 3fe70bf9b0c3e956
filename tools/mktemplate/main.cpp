#include <string>
#include <cstdio>
int main(int argc, char** argv) {
    if (argc < 2) return 2;
    for (const char* n : {"/diary.db", "/diary.mb"}) {
        std::string p = std::string(argv[1]) + n;
        if (FILE* f = std::fopen(p.c_str(), "wb")) std::fclose(f);
    }
    return 0;
}
