#include "ReadAhead.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <exception>
#include <system_error>
#include <utility>

ReadAhead::Folder::Folder(std::string path) : byPath{AT_FDCWD, std::move(path)}, open(byPath) {
    int fd = ::open(byPath.prefix.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
        open = FolderEntries{fd, {}};
}

ReadAhead::Folder::~Folder() {
    if (open.at != AT_FDCWD)
        ::close(open.at);
}

ReadAhead::ReadAhead(ReadAheadOptions options, bool withText)
    : m_withText(withText),
      m_window(std::max(options.window, kJobRun + kReaderRoom)),
      m_maxHeldBytes(options.maxHeldBytes),
      m_maxThreads(options.threads),
      m_slots(m_window) {}

ReadAhead::~ReadAhead() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_abandon = true;
    m_roomMade.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

void ReadAhead::expect(std::string folder, std::vector<std::string> names) {
    if (names.empty() || m_maxThreads == 0)
        return;
    std::size_t unread;
    std::size_t toWake;
    {
        std::lock_guard lock(m_mutex);
        std::size_t number = m_firstFolder + m_folders.size();
        m_folders.emplace_back(std::move(folder));
        for (std::string& name : names)
            m_entries.push_back(Entry{number, std::move(name)});
        unread = announcedEnd() - m_nextToRead;
        // Waking a thread costs more than reading a small document: the threads sleep on
        // until there are several to read, or the job waits for one.
        toWake = unread >= kJobRun + kReaderRoom ? readersToWake() : 0;
    }
    for (std::size_t i = 0; i < toWake; ++i)
        m_roomMade.notify_one();
    // Started after the documents are announced, so that each finds them. No more threads
    // than documents to read: a folder of a few needs no sixteen.
    try {
        while (m_threads.size() < std::min<std::size_t>(m_maxThreads, unread))
            m_threads.emplace_back([this] { readAhead(); });
    } catch (const std::system_error&) {
        // Fewer threads read less ahead; the job does not depend on any.
    }
    // Without threads the job reads each document itself, and nothing is held for it.
    if (m_threads.empty()) {
        m_entries.clear();
        m_folders.clear();
        m_firstFolder = 0;
    }
}

std::optional<ItemFacts> ReadAhead::facts(const std::string& folder, const std::string& name) {
    std::optional<std::size_t> index;
    if (!m_threads.empty()) {
        std::lock_guard lock(m_mutex);
        index = announced(folder, name);
    }
    if (!index)
        return readItemFacts(folder, name, m_withText);
    while (m_nextToTake < *index)
        takeNext();
    Slot slot = takeNext();
    FolderEntries byPath{AT_FDCWD, folder};
    std::optional<struct statx> now = statItem(byPath, name);
    if (!now)
        return std::nullopt;
    if (slot.state == Slot::State::read && slot.stat && sameUnchangedFile(*slot.stat, *now))
        return std::move(slot.facts);
    return itemFacts(byPath, name, *now, m_withText);
}

std::size_t ReadAhead::documentsRead() {
    std::lock_guard lock(m_mutex);
    return m_nRead;
}

std::optional<std::size_t> ReadAhead::announced(const std::string& folder,
                                                const std::string& name) const {
    // The job asks for the next entry but when it leaves a folder early, so the search ends
    // at once in all but those few cases.
    for (std::size_t offset = 0; offset < m_entries.size(); ++offset) {
        const Entry& entry = m_entries[offset];
        if (entry.name == name && m_folders[entry.folder - m_firstFolder].byPath.prefix == folder)
            return m_nextToTake + offset;
    }
    return std::nullopt;
}

ReadAhead::Slot ReadAhead::takeNext() {
    Slot slot;
    bool wakeReader = false;
    {
        std::unique_lock lock(m_mutex);
        bool waited = m_slots[m_nextToTake % m_window].state == Slot::State::pending;
        if (waited) {
            for (std::size_t toWake = readersToWake(); toWake > 0; --toWake)
                m_roomMade.notify_one();
            m_jobWaiting = true;
            m_runRead.wait(lock, [&] { return nextRead(); });
            m_runRead.wait_for(lock, kJobRunWait, [&] { return jobMayTake(); });
            m_jobWaiting = false;
        }
        slot = std::exchange(m_slots[m_nextToTake % m_window], Slot{});
        m_heldBytes -= slot.bytes;
        ++m_nextToTake;
        m_entries.pop_front();
        // No thread reads in a folder the job has passed.
        std::size_t nextFolder =
            m_entries.empty() ? m_firstFolder + m_folders.size() : m_entries.front().folder;
        for (; m_firstFolder < nextFolder; ++m_firstFolder)
            m_folders.pop_front();
        // One more thread when the threads fall behind, or when none reads at all: from the
        // cache a few keep up, from a disk it takes many.
        wakeReader = m_readersSleeping > 0 && readerMayWake() && (waited || m_readersReading == 0);
    }
    if (wakeReader)
        m_roomMade.notify_one();
    return slot;
}

void ReadAhead::readAhead() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_stopping)
            return;
        if (!readerMayRead()) {
            ++m_readersSleeping;
            do {
                m_roomMade.wait(lock);
                if (m_readersWoken > 0)
                    --m_readersWoken;
            } while (!m_stopping && !readerMayWake());
            --m_readersSleeping;
            continue;
        }
        // One document at a time, so that as many requests wait on the disk as threads read.
        std::size_t index = m_nextToRead++;
        if (m_jobWaiting && m_readersSleeping > 0 && readerMayWake())
            m_roomMade.notify_one();
        ++m_readersReading;
        // Neither the entry nor its folder goes before the job has taken the entry, which it
        // waits to do until the entry is read; announcing more moves neither.
        const Entry& entry = m_entries[index - m_nextToTake];
        const FolderEntries& folder = m_folders[entry.folder - m_firstFolder].open;
        lock.unlock();
        Slot slot = readSlot(folder, entry.name);
        lock.lock();
        --m_readersReading;
        m_heldBytes += slot.bytes;
        m_slots[index % m_window] = std::move(slot);
        ++m_nRead;
        if (m_jobWaiting && (index == m_nextToTake || jobMayTake()))
            m_runRead.notify_one();
    }
}

std::size_t ReadAhead::readersToWake() {
    // The threads awake go on to the documents announced by themselves.
    std::size_t awake = m_threads.size() - m_readersSleeping + m_readersWoken;
    std::size_t unread = announcedEnd() - m_nextToRead;
    if (unread <= awake || !readerMayWake())
        return 0;
    std::size_t toWake = std::min<std::size_t>(unread - awake, m_readersSleeping - m_readersWoken);
    m_readersWoken += toWake;
    return toWake;
}

std::size_t ReadAhead::announcedEnd() const {
    return m_nextToTake + m_entries.size();
}

std::size_t ReadAhead::room() const {
    return m_nextToTake + m_window - m_nextToRead;
}

bool ReadAhead::readerMayRead() const {
    if (m_nextToRead >= announcedEnd())
        return false;
    return m_nextToRead == m_nextToTake || (room() > 0 && m_heldBytes < m_maxHeldBytes);
}

bool ReadAhead::readerMayWake() const {
    return m_nextToRead < announcedEnd() && room() >= kReaderRoom &&
           m_heldBytes <= m_maxHeldBytes / 2;
}

bool ReadAhead::nextRead() const {
    return m_slots[m_nextToTake % m_window].state != Slot::State::pending;
}

bool ReadAhead::jobMayTake() const {
    if (!nextRead())
        return false;
    // Past half the bound the threads may sleep until the job takes some.
    if (m_heldBytes > m_maxHeldBytes / 2)
        return true;
    std::size_t end = std::min(m_nextToTake + kJobRun, announcedEnd());
    for (std::size_t index = m_nextToTake; index < end; ++index) {
        if (m_slots[index % m_window].state == Slot::State::pending)
            return false;
    }
    return true;
}

ReadAhead::Slot ReadAhead::readSlot(const FolderEntries& folder, const std::string& name) const {
    Slot slot;
    try {
        slot.stat = statItem(folder, name);
        if (slot.stat)
            slot.facts = itemFacts(folder, name, *slot.stat, m_withText, &m_abandon);
        slot.bytes = textBytes(slot.facts);
        slot.state = Slot::State::read;
    } catch (const std::exception&) {
        // Memory running short here is the job's to meet when it reads the document itself.
        slot = Slot{Slot::State::failed, std::nullopt, ItemFacts{}, 0};
    }
    return slot;
}
