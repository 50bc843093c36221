// reader_property_dump FOLDER: one tab-separated line per file of the folder (name, then
// columns 21, 20, 22, 18, 157: title, authors, subject, tags, pages), read through the Linux
// backend.
// Tabs, line breaks and backslashes inside a text are written as \t, \n, \r and \\.
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <vector>

#include "ShellAccess.h"

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: reader_property_dump FOLDER\n";
        return 2;
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        if (entry.is_regular_file())
            names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());

    auto backend = makeNativeShellBackend();
    ShellAccess shell(*backend);
    try {
        shell.connectShell();
        shell.openFolder(std::string(argv[1]) + "/");
        for (const std::string& name : names) {
            shell.findItem(name);
            if (!shell.hasItem())
                continue;
            std::cout << escaped(name);
            for (int column : {TITLE_COLUMN, 20, 22, 18, 157})
                std::cout << '\t' << escaped(shell.itemDetail(column));
            std::cout << '\n';
            shell.releaseItem();
        }
    } catch (const ShellError& error) {
        std::cerr << "shell error " << error.hexCode() << "\n";
        return 1;
    }
    return 0;
}
