// Writes its first argument to %TEMP%\qs-url-recorder.txt and exits.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + "qs-url-recorder.txt";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 1;
    if (argc > 1) std::fputs(argv[1], f);
    std::fclose(f);
    return 0;
}
