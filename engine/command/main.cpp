// ParseTarn: the parser engine the utility starts.
#include <iostream>

#include "engine/command/engine_main.h"
#include "engine/os/engine_os.h"
#include "engine/run/run_interrupts.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    velmora::reportBrokenPipes();
    velmora::catchInterrupts();
    int status = velmora::parseTarnMain(velmora::programArguments(argc, argv), std::cout);
    velmora::runFinished();
    return status;
}
