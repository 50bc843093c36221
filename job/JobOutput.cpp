#include "JobOutput.h"

#include "AsciiCase.h"
#include "CsvOutput.h"
#include "WorkbookOutput.h"

bool isWorkbookPath(const std::string& path) {
    return ascii_case::lower(path).ends_with(".xlsx");
}

std::unique_ptr<JobOutput> makeJobOutput(const std::string& path) {
    if (isWorkbookPath(path))
        return std::make_unique<WorkbookOutput>();
    return std::make_unique<CsvOutput>();
}
