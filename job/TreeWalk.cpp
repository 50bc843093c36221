#include "TreeWalk.h"

#include <algorithm>

#include "PathSeparator.h"

namespace {

bool equalsIgnoringCase(const std::string& name, const std::string& other) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::equal(name.begin(), name.end(), other.begin(), other.end(),
                      [&](char a, char b) { return lower(a) == lower(b); });
}

// Folders a user never means: hidden ones, and those Windows keeps on every drive it uses.
bool isNeverMeant(const ListingEntry& entry) {
    return entry.hidden || equalsIgnoringCase(entry.name, "$RECYCLE.BIN") ||
           equalsIgnoringCase(entry.name, "System Volume Information");
}

}  // namespace

TreeWalk::TreeWalk(std::string top, UnwalkedFolders unwalked)
    : m_top(std::move(top)), m_unwalked(std::move(unwalked)) {}

std::optional<WalkedFolder> TreeWalk::next() {
    if (!m_bStarted) {
        m_bStarted = true;
        return enterTop();
    }
    while (!m_levels.empty()) {
        Level& level = m_levels.back();
        if (level.pending.empty()) {
            m_levels.pop_back();
            continue;
        }
        ListingEntry entry = std::move(level.pending.back());
        level.pending.pop_back();
        std::string path = level.path + entry.name + kPathSeparator;
        std::string relative = level.relative + entry.name + kPathSeparator;
        if (std::optional<WalkedFolder> folder = enter(entry, std::move(path), std::move(relative)))
            return folder;
    }
    return std::nullopt;
}

WalkedFolder TreeWalk::enterTop() {
    TreeFolderListing found = listTreeFolder(m_top, FolderLinks::Follow);
    WalkedFolder top{m_top, {}, std::move(found.listing), found.identity};
    if (top.listing.fault == FolderListing::Fault::None) {
        // Mount points below the top folder are left out, but the top folder may be one.
        m_volume = found.identity.volume;
        m_walked.emplace(found.identity.volume, found.identity.index);
        descend(top);
    }
    return top;
}

std::optional<WalkedFolder> TreeWalk::enter(const ListingEntry& entry, std::string path,
                                            std::string relative) {
    auto unwalked = [&](UnwalkedFolder::Reason reason) {
        if (m_unwalked)
            m_unwalked({std::move(path), std::move(relative), reason});
        return std::nullopt;
    };
    if (entry.link)
        return unwalked(UnwalkedFolder::Reason::Link);
    if (!folderPathFits(path))
        return unwalked(UnwalkedFolder::Reason::PathTooLong);
    TreeFolderListing found = listTreeFolder(path, FolderLinks::Refuse);
    if (found.listing.fault == FolderListing::Fault::NotOpened)
        return unwalked(UnwalkedFolder::Reason::NotOpened);
    if (found.listing.fault == FolderListing::Fault::CutShort)
        return unwalked(UnwalkedFolder::Reason::CutShort);
    if (found.identity.volume != m_volume)
        return unwalked(UnwalkedFolder::Reason::OtherDevice);
    if (!m_walked.emplace(found.identity.volume, found.identity.index).second)
        return unwalked(UnwalkedFolder::Reason::MetBefore);
    WalkedFolder folder{std::move(path), std::move(relative), std::move(found.listing),
                        found.identity};
    descend(folder);
    return folder;
}

void TreeWalk::descend(const WalkedFolder& folder) {
    Level level{folder.path, folder.relative, {}};
    for (const ListingEntry& entry : folder.listing.entries) {
        if (entry.directory && !isNeverMeant(entry))
            level.pending.push_back(entry);
    }
    // The first to walk last, where it is taken from.
    std::sort(
        level.pending.begin(), level.pending.end(),
        [](const ListingEntry& a, const ListingEntry& b) { return namePrecedes(b.name, a.name); });
    m_levels.push_back(std::move(level));
}
