#include <cstdio>

int main(int, char**)
{
    std::fputs("vexal: the main window is not built yet\n", stderr);
    return 2;
}
