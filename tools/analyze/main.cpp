#include <unistd.h>

#include <csignal>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "tools/analyze/analyzer.h"
#include "tools/analyze/fd_stream.h"

int main(int argc, char** argv) {
    // A reader that has gone away is a write error to report like any other,
    // not a signal that ends the program without a word.
    std::signal(SIGPIPE, SIG_IGN);
    FdInBuf inBuffer(STDIN_FILENO);
    FdOutBuf outBuffer(STDOUT_FILENO);
    std::istream in(&inBuffer);
    std::ostream out(&outBuffer);
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        return RunAnalyzer(args, in, out, std::cerr);
    } catch (const std::bad_alloc&) {
        std::cerr << "fourfall-analyze: out of memory" << std::endl;
        return kExitNoMemory;
    }
}
