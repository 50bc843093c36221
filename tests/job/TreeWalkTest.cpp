#include "TreeLister.h"
#include "TreeWalk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

#include "TempDir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#endif

namespace fs = std::filesystem;
using Reason = UnwalkedFolder::Reason;

namespace {

// A folder's path from the top as the walk gives it, from one written with '/'.
std::string relative(std::string path) {
    std::replace(path.begin(), path.end(), '/', kPathSeparator);
    return path.empty() ? path : path + kPathSeparator;
}

// The folders walked, in order, and every folder met: walked (no reason) or told why not.
struct Walk {
    std::vector<WalkedFolder> walked;
    std::map<std::string, std::optional<Reason>> met;
};

Walk walkTree(
    const std::string& top, const std::function<void()>& afterTop = [] {}) {
    Walk walk;
    TreeWalk tree(top, [&](const UnwalkedFolder& folder) {
        EXPECT_EQ(folder.path, top + folder.relative);
        walk.met[folder.relative] = folder.reason;
    });
    while (std::optional<WalkedFolder> folder = tree.next()) {
        EXPECT_EQ(folder->path, top + folder->relative);
        walk.met[folder->relative] = std::nullopt;
        walk.walked.push_back(std::move(*folder));
        if (walk.walked.size() == 1)
            afterTop();
    }
    return walk;
}

// A chain of folders whose paths outgrow the platform's: Windows' wide calls take such a
// path, Linux each folder's name in its parent.
void makeLongChain(const std::string& folder, const std::string& name) {
    fs::create_directory(folder);
#ifdef _WIN32
    fs::create_directories(fs::path(folder) / name / name / name / name);
#else
    int parent = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level < 25 && parent >= 0; ++level) {
        ::mkdirat(parent, name.c_str(), 0700);
        int child = ::openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(parent);
        parent = child;
    }
    ASSERT_GE(parent, 0);
    ::close(parent);
#endif
}

}  // namespace

TEST(TreeWalk, takesEachFolderThenItsSubfoldersInNameOrderDepthFirst) {
    TempDir top;
    for (const char* folder : {"b", "a/c", "a/b", "Zeta"})
        top.makeFolder(folder);
    top.write("a/b/x.doc");
    std::vector<std::string> order;
    for (const WalkedFolder& folder : walkTree(top.path()).walked) {
        order.push_back(folder.relative);
        if (folder.relative == relative("a/b")) {
            EXPECT_EQ(folder.listing.entries.at(0).name, "x.doc");
        }
    }
#ifdef _WIN32
    std::vector<std::string> expected = {"", "a", "a/b", "a/c", "b", "Zeta"};
#else
    std::vector<std::string> expected = {"", "Zeta", "a", "a/b", "a/c", "b"};
#endif
    std::transform(expected.begin(), expected.end(), expected.begin(), relative);
    EXPECT_EQ(order, expected);
}

TEST(TreeWalk, leavesOutLinksAndFoldersNeverMeantAndTellsWhatItCannotList) {
    TempDir top;
    std::string deep = "deep";
    for (int level = 1; level < 35; ++level)
        deep += "/d";
    // Walked (no reason), or told why not; a folder never meant is neither.
    std::map<std::string, std::optional<Reason>> expected = {
        {"$RECYCLE.BIN.old", std::nullopt}, {deep, std::nullopt}, {"gone", Reason::NotOpened}};
    std::vector<std::string> neverMeant = {"$Recycle.Bin", "SYSTEM VOLUME INFORMATION"};
#ifdef _WIN32
    top.makeFolder("hidden");
    ASSERT_TRUE(SetFileAttributesA(top.file("hidden").c_str(), FILE_ATTRIBUTE_HIDDEN));
    neverMeant.push_back("hidden");
    std::string longName(100, 'x');
#else
    neverMeant.push_back(".hidden");
    expected["a"] = std::nullopt;
    expected["link"] = expected["loop"] = Reason::Link;
    top.makeFolder("a");
    fs::create_directory_symlink("a", top.file("link"));
    fs::create_directory_symlink(".", top.file("loop"));
    fs::create_symlink("x.doc", top.file("link.doc"));
    // Permissions do not bind root, for whom only the folder gone since stands for them.
    if (::geteuid() != 0) {
        expected["locked"] = Reason::NotOpened;
        top.makeFolder("locked");
        ::chmod(top.file("locked").c_str(), 0);
    }
    std::string longName(200, 'x');
#endif
    for (const auto& [folder, reason] : expected)
        top.makeFolder(folder);
    for (const std::string& folder : neverMeant)
        top.makeFolder(folder);
    makeLongChain(top.file("long"), longName);

    Walk walk = walkTree(top.path(), [&] { fs::remove(top.file("gone")); });
    for (const auto& [folder, reason] : expected) {
        ASSERT_TRUE(walk.met.count(relative(folder))) << folder;
        EXPECT_EQ(walk.met[relative(folder)], reason) << folder;
    }
    for (const std::string& folder : neverMeant)
        EXPECT_FALSE(walk.met.count(relative(folder))) << folder;
    // The first folder whose path is too long is told, after its parent was walked.
    auto tooLong = std::find_if(walk.met.begin(), walk.met.end(), [](const auto& met) {
        return met.first.starts_with("long") && met.second;
    });
    ASSERT_NE(tooLong, walk.met.end());
    EXPECT_EQ(tooLong->second, Reason::PathTooLong);
    EXPECT_EQ(walk.met.count(tooLong->first.substr(0, tooLong->first.size() - longName.size() - 1)),
              1u);
#ifndef _WIN32
    ::chmod(top.file("locked").c_str(), 0700);
    // A link to a document stays a document of its folder.
    const std::vector<ListingEntry>& entries = walk.walked.at(0).listing.entries;
    auto link = std::find_if(entries.begin(), entries.end(),
                             [](const ListingEntry& entry) { return entry.name == "link.doc"; });
    ASSERT_NE(link, entries.end());
    EXPECT_TRUE(link->link && !link->directory);
#endif
}

TEST(TreeWalk, endsWithTheTopFolderWhenItCannotBeListed) {
    TempDir parent;
    Walk walk = walkTree(parent.file("missing") + kPathSeparator);
    ASSERT_EQ(walk.walked.size(), 1u);
    EXPECT_EQ(walk.walked[0].listing.fault, FolderListing::Fault::NotOpened);
}

#ifndef _WIN32
namespace {

// A mount namespace of this process's own, which a user namespace lets any user make.
bool enterOwnMountNamespace() {
    std::string uid = std::to_string(::geteuid()), gid = std::to_string(::getegid());
    if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
        return false;
    std::ofstream("/proc/self/setgroups") << "deny";
    std::ofstream("/proc/self/uid_map") << "0 " + uid + " 1";
    std::ofstream("/proc/self/gid_map") << "0 " + gid + " 1";
    return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

}  // namespace

TEST(TreeWalk, walksNoFolderTwiceNorIntoAnotherDeviceBelowTheTop) {
    TempDir top;
    for (const char* folder : {"a/inner", "b", "loop", "other", "mounted"})
        top.makeFolder(folder);
    pid_t child = ::fork();
    if (child == 0) {
        // The top folder bound below itself, a folder bound beside itself, two other devices.
        auto bind = [&](const char* from, const char* to) {
            return ::mount(top.file(from).c_str(), top.file(to).c_str(), nullptr, MS_BIND,
                           nullptr) == 0;
        };
        auto tmpfs = [&](const char* at) {
            return ::mount("tmpfs", top.file(at).c_str(), "tmpfs", 0, nullptr) == 0;
        };
        if (!enterOwnMountNamespace() || !bind("", "loop") || !bind("a", "b") || !tmpfs("other") ||
            !tmpfs("mounted") || !fs::create_directory(top.file("mounted/sub")))
            ::_exit(77);
        std::map<std::string, std::optional<Reason>> expected = {{"", std::nullopt},
                                                                 {"a/", std::nullopt},
                                                                 {"a/inner/", std::nullopt},
                                                                 {"b/", Reason::MetBefore},
                                                                 {"loop/", Reason::MetBefore},
                                                                 {"mounted/", Reason::OtherDevice},
                                                                 {"other/", Reason::OtherDevice}};
        EXPECT_EQ(walkTree(top.path()).met, expected);
        // The top folder may be a mount point itself.
        EXPECT_EQ(walkTree(top.file("mounted/")).walked.size(), 2u);
        std::fflush(stdout);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no mount namespace of its own here";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "see the child's failures above";
}
#endif

// The lister's thread gives the walk's steps in the walk's own order, folders and folders not
// walked alike, past as many as it lists ahead; and it may be left before the tree is done.
TEST(TreeLister, givesTheWalksStepsInItsOrder) {
    TempDir top;
    for (int i = 0; i < 100; ++i)
        top.makeFolder("f" + std::to_string(100 + i) + "/sub");
#ifndef _WIN32
    for (int i = 0; i < 10; ++i)
        fs::create_directory_symlink("f100", top.file("f" + std::to_string(150 + i) + "-link"));
#endif
    std::vector<std::string> walked;
    TreeWalk walk(top.path(), [&](const UnwalkedFolder& folder) {
        walked.push_back("not " + folder.relative);
    });
    while (std::optional<WalkedFolder> folder = walk.next())
        walked.push_back(folder->relative);

    std::vector<std::string> listed;
    TreeLister lister(top.path());
    while (std::optional<TreeLister::Step> step = lister.next()) {
        if (const WalkedFolder* folder = std::get_if<WalkedFolder>(&*step))
            listed.push_back(folder->relative);
        else
            listed.push_back("not " + std::get<UnwalkedFolder>(*step).relative);
    }
    EXPECT_EQ(listed, walked);
    EXPECT_EQ(listed.size(), 201u + (kPathSeparator == '/' ? 10u : 0u));

    TreeLister left(top.path());
    EXPECT_TRUE(left.next());
}
