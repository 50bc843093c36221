// tarnel-batch's job on the reader without read-ahead, so the benchmark can weigh what
// reading ahead gains and check that it changes no byte of the CSV:
//   tarnel_job_csv [--props LIST --out FILE] [--full-name] FOLDER
#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "BatchOptions.h"
#include "BatchRun.h"
#include "CCore.h"
#include "ReaderBackend.h"

int main(int argc, char** argv) {
    BatchParse parse = parseBatchOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parse.options || parse.options->help || parse.options->undo) {
        std::cerr << "tarnel_job_csv: " << (parse.options ? "runs the job only" : parse.error)
                  << "\n"
                  << "usage: tarnel_job_csv [--props LIST --out FILE] [--full-name] FOLDER\n";
        return 2;
    }
    return runBatchJob(parse.options->settings, std::make_shared<CCore>(),
                       makeReaderBackend({.threads = 0}), std::cout, std::cerr,
                       isatty(fileno(stderr)), parse.options->preview);
}
