// tarnel-batch: the folder job without a window, for scripts and measurements.
#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

#include "BatchOptions.h"
#include "BatchRun.h"
#include "CCore.h"

int main(int argc, char** argv) {
    BatchParse parse = parseBatchOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parse.options) {
        std::cerr << "tarnel-batch：" << parse.error << "\n"
                  << "详见 tarnel-batch --help\n";
        return 2;
    }
    if (parse.options->help) {
        std::cout << batchUsage();
        return 0;
    }
    if (parse.options->undo)
        return runBatchUndo(parse.options->journal, std::cout, std::cerr);
    return runBatchJob(parse.options->settings, std::make_shared<CCore>(), makeNativeShellBackend(),
                       std::cout, std::cerr, isatty(fileno(stderr)), parse.options->preview);
}
