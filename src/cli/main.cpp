#include <cstdio>

int main() {
    std::fputs("harlune-cli: no command yet\n", stderr);
    return 2;
}
