// ParseTarn: the parser engine the utility starts.
#include <iostream>

#include "engine/storage/engine_main.h"
#include "engine/storage/engine_os.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    velmora::reportBrokenPipes();
    return velmora::runEngine(velmora::programArguments(argc, argv), std::cout);
}
