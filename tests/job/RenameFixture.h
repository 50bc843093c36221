#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "ConfigHome.h"
#include "DocumentRenamer.h"
#include "ShellAccess.h"
#include "TempDir.h"
#include "TestShell.h"

// A folder of documents, each holding its own name, renamed by a DocumentRenamer as a job
// does it: in listing order, with the test shell's titles, details and texts.
class RenameFixture : public ::testing::Test {
  protected:
    // Writes the documents and sets their titles.
    void titled(const std::vector<std::pair<std::string, std::string>>& documents) {
        for (const auto& [name, title] : documents) {
            folder.write(name, name);
            shell->setTitle(name, title);
        }
    }

    // Renames every document of the folder, or previews it; the job's report.
    JobReport renameAll(bool preview) {
        JobReport report;
        auto rules = RenameRules::of(settings);
        EXPECT_TRUE(std::holds_alternative<RenameRules>(rules));
        FolderListing listing = listFolder(folder.path());
        DocumentRenamer renamer(folder.path(), listing, std::get<RenameRules>(std::move(rules)),
                                preview, report);
        ShellAccess access(*shell);
        access.connectShell();
        access.openFolder(folder.path());
        for (const ListingEntry& entry : listing.entries) {
            if (entry.directory || !hasDocumentExtension(entry.name))
                continue;
            access.findItem(entry.name);
            renamer.rename(entry.name, {[&](int column) {
                                            ++asked[column];
                                            return access.itemDetail(column);
                                        },
                                        [&] {
                                            ++textsAsked;
                                            return access.itemText();
                                        }});
            access.releaseItem();
        }
        access.releaseFolder();
        access.releaseShell();
        return report;
    }

    // The preview's lines, after which the real renames must give each document the name
    // the preview said, and leave the others where they were.
    std::vector<std::string> previewThenRename() {
        std::vector<std::string> lines = renameAll(true).previewLines();
        FolderListing before = listFolder(folder.path());
        renameAll(false);
        for (const ListingEntry& entry : before.entries) {
            const std::string& name = entry.name;
            if (entry.directory || !hasDocumentExtension(name))
                continue;
            const std::string arrow = " → ";  // its size differs with the code page
            std::string shown;
            for (const std::string& line : lines) {
                if (line.starts_with(name + arrow))
                    shown = line.substr(name.size() + arrow.size());
            }
            std::string now = shown.substr(0, shown.find("（"));
            if (now.empty())
                now = name;
            EXPECT_EQ(readFile(folder.file(now)), name) << "preview: " << shown;
        }
        return lines;
    }

    std::vector<std::string> names() const {
        std::vector<std::string> names;
        for (const ListingEntry& entry : listFolder(folder.path()).entries)
            names.push_back(entry.name);
        return names;
    }

    // Journals go to a store of the test's own.
    ConfigHome home;
    TempDir folder;
    JobSettings settings;
    std::shared_ptr<TestShellBackend> shell = std::make_shared<TestShellBackend>();
    std::map<int, int> asked;
    int textsAsked = 0;
};
