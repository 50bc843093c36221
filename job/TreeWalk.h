#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "FileServices.h"

// One folder of a tree, as the walk lists it.
struct WalkedFolder {
    std::string path;      // absolute, ending with a separator
    std::string relative;  // from the top folder, ending with a separator; empty for the top
    FolderListing listing;
    FileIdentity identity;  // of the folder listed
};

// A subfolder the walk did not enter, and why, for the end report.
struct UnwalkedFolder {
    enum class Reason {
        NotOpened,    // no permission, gone since its parent was listed, or no folder now
        CutShort,     // reading it failed part way
        PathTooLong,  // its path is longer than the platform's calls take
        Link,         // a symbolic link or a junction
        MetBefore,    // the same folder, walked already under another path (a bind mount)
        OtherDevice,  // a mount point of another device
    };
    std::string path;
    std::string relative;
    Reason reason;
};
using UnwalkedFolders = std::function<void(const UnwalkedFolder&)>;

// The folders of a tree, one at a time: the top folder, then each of its subfolders in name
// order (namePrecedes), each followed by its own subfolders before the next, depth first. A
// folder comes with its whole listing, whose documents go before its subfolders. Only the
// folders on the way down to the current one are held, with the names of their subfolders
// still to come, and the identity of every folder walked (two numbers a folder, not a
// document), which keeps a folder from being walked twice.
//
// Never entered: links and junctions; the folders a user never means (hidden ones, and the
// recycle bin's and the system's restore points, which hold copies); a mount point of
// another device than the top folder's (the top folder may be one itself); a folder met
// before. Each is told to unwalked, but for the folders never meant, which go unsaid. A
// subfolder that cannot be listed, only in part, or whose path is longer than the platform
// takes is told too and the walk goes on; a fault of the top folder's listing comes back in
// its WalkedFolder and ends the walk.
class TreeWalk {
  public:
    // top is absolute and ends with a separator.
    TreeWalk(std::string top, UnwalkedFolders unwalked);

    // The next folder, or nothing once the tree is done.
    std::optional<WalkedFolder> next();

  private:
    // A folder on the way down, with its subfolders still to walk, the next one last.
    struct Level {
        std::string path;
        std::string relative;
        std::vector<ListingEntry> pending;
    };

    WalkedFolder enterTop();
    std::optional<WalkedFolder> enter(const ListingEntry& entry, std::string path,
                                      std::string relative);
    void descend(const WalkedFolder& folder);

    std::string m_top;
    UnwalkedFolders m_unwalked;
    bool m_bStarted = false;
    std::uint64_t m_volume = 0;
    std::vector<Level> m_levels;
    std::set<std::pair<std::uint64_t, std::uint64_t>> m_walked;
};
