// lsthtool: theme files and devices from the command line.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        std::printf("usage: lsthtool COMMAND [ARGS]\n");
        return argc < 2 ? 1 : 0;
    }
    std::fprintf(stderr, "lsthtool: unknown command '%s'\n", argv[1]);
    return 1;
}
