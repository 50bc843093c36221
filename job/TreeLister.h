#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <variant>

#include "TreeWalk.h"

// The steps of a TreeWalk, taken on a thread of its own up to kStepsAhead ahead of the job:
// listing a small folder costs more than reading its few documents, and the job need not
// wait for it.
class TreeLister {
  public:
    // A folder of the walk, or a subfolder it did not enter; in the walk's order.
    using Step = std::variant<WalkedFolder, UnwalkedFolder>;

    // top as TreeWalk takes it.
    explicit TreeLister(std::string top);
    TreeLister(const TreeLister&) = delete;
    TreeLister& operator=(const TreeLister&) = delete;
    // Stops listing and waits for the thread, at most one folder's listing away.
    ~TreeLister();

    // The next step, once it is listed; nothing once the tree is done. A failure of the
    // listing thread (memory running short) is raised here, after the steps before it.
    std::optional<Step> next();

  private:
    void list();
    void add(Step step);

    static constexpr std::size_t kStepsAhead = 64;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Step> m_steps;
    bool m_bDone = false;
    bool m_bStopping = false;
    std::exception_ptr m_failure;
    // Used on the listing thread only.
    TreeWalk m_walk;
    // Last, so the thread starts after, and is joined before, what it uses goes.
    std::thread m_thread;
};
