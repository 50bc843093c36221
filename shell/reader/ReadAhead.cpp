#include "ReadAhead.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <exception>
#include <system_error>
#include <utility>

ReadAhead::ReadAhead(std::string folder, std::vector<std::string> names, ReadAheadOptions options,
                     bool withText)
    : m_folder{AT_FDCWD, std::move(folder)},
      m_names(std::move(names)),
      m_withText(withText),
      m_window(std::max(options.window, kJobRun + kReaderRoom)),
      m_maxHeldBytes(options.maxHeldBytes),
      m_slots(m_window) {
    m_openFolder = m_folder;
    int fd = ::open(m_folder.prefix.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
        m_openFolder = FolderEntries{fd, {}};
    std::size_t threads = std::min<std::size_t>(options.threads, m_names.size());
    try {
        for (std::size_t i = 0; i < threads; ++i)
            m_threads.emplace_back([this] { readAhead(); });
    } catch (const std::system_error&) {
        // Fewer threads read less ahead; the job does not depend on any.
    }
}

ReadAhead::~ReadAhead() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_abandon = true;
    m_roomMade.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
    if (m_openFolder.at != AT_FDCWD)
        ::close(m_openFolder.at);
}

std::optional<ItemFacts> ReadAhead::facts(const std::string& name) {
    if (m_threads.empty() || m_nextToTake >= m_names.size() || m_names[m_nextToTake] != name)
        return readItemFacts(m_folder.prefix, name, m_withText);
    Slot slot = takeNext();
    std::optional<struct statx> now = statItem(m_folder, name);
    if (!now)
        return std::nullopt;
    if (slot.state == Slot::State::read && slot.stat && sameUnchangedFile(*slot.stat, *now))
        return std::move(slot.facts);
    return itemFacts(m_folder, name, *now, m_withText);
}

std::size_t ReadAhead::documentsRead() {
    std::lock_guard lock(m_mutex);
    return m_nRead;
}

ReadAhead::Slot ReadAhead::takeNext() {
    Slot slot;
    bool wakeReader = false;
    {
        std::unique_lock lock(m_mutex);
        bool waited = m_slots[m_nextToTake % m_window].state == Slot::State::pending;
        if (waited) {
            m_jobWaiting = true;
            m_runRead.wait(lock, [&] { return nextRead(); });
            m_runRead.wait_for(lock, kJobRunWait, [&] { return jobMayTake(); });
            m_jobWaiting = false;
        }
        slot = std::exchange(m_slots[m_nextToTake % m_window], Slot{});
        m_heldBytes -= slot.bytes;
        ++m_nextToTake;
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
        if (m_stopping || m_nextToRead >= m_names.size())
            return;
        if (!readerMayRead()) {
            ++m_readersSleeping;
            m_roomMade.wait(lock, [&] {
                return m_stopping || m_nextToRead >= m_names.size() || readerMayWake();
            });
            --m_readersSleeping;
            continue;
        }
        // One document at a time, so that as many requests wait on the disk as threads read.
        std::size_t index = m_nextToRead++;
        if (m_jobWaiting && m_readersSleeping > 0 && readerMayWake())
            m_roomMade.notify_one();
        ++m_readersReading;
        lock.unlock();
        Slot slot = readSlot(m_names[index]);
        lock.lock();
        --m_readersReading;
        m_heldBytes += slot.bytes;
        m_slots[index % m_window] = std::move(slot);
        ++m_nRead;
        if (m_jobWaiting && (index == m_nextToTake || jobMayTake()))
            m_runRead.notify_one();
    }
}

std::size_t ReadAhead::room() const {
    return m_nextToTake + m_window - m_nextToRead;
}

bool ReadAhead::readerMayRead() const {
    return m_nextToRead == m_nextToTake || (room() > 0 && m_heldBytes < m_maxHeldBytes);
}

bool ReadAhead::readerMayWake() const {
    return room() >= kReaderRoom && m_heldBytes <= m_maxHeldBytes / 2;
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
    std::size_t end = std::min(m_nextToTake + kJobRun, m_names.size());
    for (std::size_t index = m_nextToTake; index < end; ++index) {
        if (m_slots[index % m_window].state == Slot::State::pending)
            return false;
    }
    return true;
}

ReadAhead::Slot ReadAhead::readSlot(const std::string& name) const {
    Slot slot;
    try {
        slot.stat = statItem(m_openFolder, name);
        if (slot.stat)
            slot.facts = itemFacts(m_openFolder, name, *slot.stat, m_withText, &m_abandon);
        slot.bytes = textBytes(slot.facts);
        slot.state = Slot::State::read;
    } catch (const std::exception&) {
        // Memory running short here is the job's to meet when it reads the document itself.
        slot = Slot{Slot::State::failed, std::nullopt, ItemFacts{}, 0};
    }
    return slot;
}
