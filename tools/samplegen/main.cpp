// make-samples FOLDER: writes the bundled sample models into FOLDER
// (PX400 models into FOLDER/px400, a TINYFS image of PX200 models into
// FOLDER/px200).
#include <cstdio>
#include <exception>
#include <string>

#include "samplegen/PX200Samples.h"
#include "samplegen/PX400Samples.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-samples FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    try {
        WritePX400Samples(folder + "/px400");
        WritePX200SampleImage(folder + "/px200");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make-samples: %s\n", e.what());
        return 1;
    }
    return 0;
}
