#pragma once

#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ItemFacts.h"
#include "ReaderBackend.h"

// Reads the facts of a job's documents on a pool of threads, in the order the job will ask
// for them and at most a window ahead of the one it is at, so that a disk or a network share
// has many requests to answer instead of one, and no further than the bytes of texts they
// hold allow. The job announces its folders one after another, each before it is done with
// the one before, and the threads read on past the end of a folder into the next. The job
// still gets each document as it is at its turn: one changed, renamed or removed since it
// was read ahead is looked at again then.
class ReadAhead {
  public:
    // withText: the facts hold the documents' texts.
    ReadAhead(ReadAheadOptions options, bool withText);
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;
    // Stops reading and waits for the threads, each at most one read of a document away.
    ~ReadAhead();

    // The entries of folder (ending with "/") that facts() will be asked for next, in that
    // order, after those announced before. Each folder announced is held open until the job
    // has passed its documents, so the job announces only a few ahead.
    void expect(std::string folder, std::vector<std::string> names);

    // What readItemFacts(folder, name, withText) gives now; from the read-ahead when it is an
    // announced document and unchanged since it was read. The documents announced before it
    // and not asked for (the rest of a folder the job left) are passed over.
    std::optional<ItemFacts> facts(const std::string& folder, const std::string& name);

    // How many documents the threads have read so far.
    std::size_t documentsRead();

  private:
    struct Folder {
        explicit Folder(std::string path);
        Folder(const Folder&) = delete;
        Folder& operator=(const Folder&) = delete;
        ~Folder();
        // The job looks at each document by the folder's path, as without read-ahead; the
        // threads read in the open folder.
        const FolderEntries byPath;
        FolderEntries open;
    };
    struct Entry {
        std::size_t folder;  // its number among the folders announced
        std::string name;
    };
    struct Slot {
        enum class State { pending, read, failed };
        State state = State::pending;
        std::optional<struct statx> stat;  // nothing: no such entry when it was read
        ItemFacts facts;
        std::size_t bytes = 0;  // what its texts hold
    };

    void readAhead();
    Slot readSlot(const FolderEntries& folder, const std::string& name) const;
    // The announced entry of that document from the next one to take on, if any.
    std::optional<std::size_t> announced(const std::string& folder, const std::string& name) const;
    // Takes the next entry's slot, once it is read, and lets its folder go once passed.
    Slot takeNext();
    // How many sleeping threads to wake for the documents announced and not read, and counts
    // them woken.
    std::size_t readersToWake();
    // One past the last entry announced.
    std::size_t announcedEnd() const;
    // Documents the window holds beyond those handed to a thread.
    std::size_t room() const;
    // Whether the job's next document is read.
    bool nextRead() const;
    // Whether the job may stop waiting: its next document is read, and so is a run of kJobRun
    // from it, or the threads may have stopped for the bytes held.
    bool jobMayTake() const;
    // Whether a thread may start a document: the job's own next one always, others while the
    // window has room and the bytes held are under the bound.
    bool readerMayRead() const;
    // Whether a sleeping thread may start again: room for several, half the bytes free.
    bool readerMayWake() const;

    // Each wake-up costs more than reading a small document from the cache, so the job,
    // once it has to wait, waits for several, and a thread that found the window full
    // sleeps until there is room for several.
    static constexpr std::size_t kJobRun = 128;
    static constexpr std::size_t kReaderRoom = 128;
    // How long the job waits for the rest of a run once its own document is read: a run of
    // slow documents must not hold up the job, nor a stop asked of it.
    static constexpr std::chrono::milliseconds kJobRunWait{10};

    const bool m_withText;
    // At least kJobRun + kReaderRoom, so that the job never waits for a document no thread
    // may take.
    const std::size_t m_window;
    const std::size_t m_maxHeldBytes;
    const unsigned m_maxThreads;

    std::mutex m_mutex;
    std::condition_variable m_runRead;
    std::condition_variable m_roomMade;
    // Entries and folders from the next one to take on, numbered from the first announced.
    std::deque<Folder> m_folders;
    std::size_t m_firstFolder = 0;
    std::deque<Entry> m_entries;
    std::vector<Slot> m_slots;  // entry i is read into m_slots[i % m_window]
    std::size_t m_nextToRead = 0;
    std::size_t m_nextToTake = 0;  // the number of m_entries.front()
    std::size_t m_nRead = 0;
    std::size_t m_heldBytes = 0;  // of the slots read and not yet taken
    bool m_stopping = false;
    // Set with m_stopping: the threads' reads fail, so each ends its document at once.
    std::atomic<bool> m_abandon{false};
    bool m_jobWaiting = false;
    unsigned m_readersReading = 0;
    unsigned m_readersSleeping = 0;
    // Of those sleeping, how many were woken and have not run yet.
    unsigned m_readersWoken = 0;
    // Last, so the threads are started after, and joined before, what they use goes.
    std::vector<std::thread> m_threads;
};
