// ParseTarn: the parser engine the utility starts.
#include <iostream>

#include "engine/engine_main.h"
#include "engine/engine_os.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return velmora::runEngine(velmora::programArguments(argc, argv), std::cout);
}
