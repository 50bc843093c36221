#include "ReferenceFile.h"

#include <cstdio>
#include <vector>

#include "ShellAccess.h"

namespace {

struct ReferenceLine {
    int number;
    std::string heading;
};

// A column whose heading the shell fails to give is left out like an empty one; a shell
// that gives none (Wine answers E_NOTIMPL for every column) leaves the list empty.
std::vector<ReferenceLine> headingsFromShell(ShellBackend& backend, const std::string& folder) {
    std::vector<ReferenceLine> lines;
    ShellAccess shell(backend);
    shell.connectShell();
    try {
        shell.openFolder(folder);
    } catch (const ShellError&) {
        return lines;
    }
    for (int column = 0; column <= LAST_REFERENCE_COLUMN; ++column) {
        try {
            std::string heading = shell.columnHeading(column);
            if (!heading.empty())
                lines.push_back({column, std::move(heading)});
        } catch (const ShellError&) {
        }
    }
    return lines;
}

bool exists(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::fclose(file);
    return true;
}

bool writeLines(const std::string& path, const std::vector<ReferenceLine>& lines) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    for (const ReferenceLine& line : lines)
        std::fprintf(out, "%d\t%s\r\n", line.number, line.heading.c_str());
    const bool failed = std::ferror(out) != 0;
    return std::fclose(out) == 0 && !failed;
}

}  // namespace

ReferenceFileOutcome writeReferenceFileIfMissing(const std::string& path, ShellBackend& backend,
                                                 const std::string& folderToAsk,
                                                 std::span<const ColumnHeading> fallback) {
    if (exists(path))
        return ReferenceFileOutcome::present;

    backend.enterThread();
    std::vector<ReferenceLine> lines = headingsFromShell(backend, folderToAsk);
    backend.leaveThread();

    ReferenceFileOutcome outcome = ReferenceFileOutcome::writtenFromShell;
    if (lines.empty()) {
        outcome = ReferenceFileOutcome::writtenFromFallback;
        for (const ColumnHeading& column : fallback)
            lines.push_back({column.number, column.heading});
    }

    const std::string temporary = path + ".tmp";
    if (!writeLines(temporary, lines)) {
        std::remove(temporary.c_str());
        return ReferenceFileOutcome::failed;
    }
    // Windows' rename refuses to replace a file, so one that appeared meanwhile is kept.
    if (exists(path) || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return exists(path) ? ReferenceFileOutcome::present : ReferenceFileOutcome::failed;
    }
    return outcome;
}
