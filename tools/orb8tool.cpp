#include <signal.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "tools/toolcommands.h"

int main(int argc, char** argv) {
    // A file size limit gives a write error that is reported, not a silent end.
    ::signal(SIGXFSZ, SIG_IGN);
    int code = orb8::RunOrb8Tool(argc, argv, std::cout, std::cerr);
    errno = 0;
    if (code == 0 && (std::fflush(stdout) != 0 || std::ferror(stdout))) {
        const int error = errno;
        std::cerr << "orb8tool: standard output could not be written"
                  << (error ? std::string(": ") + std::strerror(error) : std::string()) << "\n";
        if (code == 0) code = 1;
    }
    return code;
}
