// A stand-in for the parser engine in the tests: "-o RESULTS DATA CONFIG".
// It says so on its standard output, takes a while, then writes to RESULTS
// the first line of DATA (so a test chooses the outcome through the data
// file) and, one per line, the arguments it was given.
#include <chrono>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    if (argc < 3 || std::string(argv[1]) != "-o") return 2;
    std::cout << "engine double started" << std::endl;
    // A caller that does not wait for the end finds no results yet.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::string firstLine = "engine double: no data file";
    if (argc > 3) {
        std::ifstream data(argv[3]);
        if (data) std::getline(data, firstLine);
    }
    std::ofstream results(argv[2], std::ios::binary | std::ios::trunc);
    results << firstLine << "\r\n";
    for (int i = 1; i < argc; ++i) results << "arg: " << argv[i] << "\r\n";
    return results ? 0 : 1;
}
