#include "TreeLister.h"

#include <utility>

TreeLister::TreeLister(std::string top)
    : m_walk(std::move(top), [this](const UnwalkedFolder& folder) { add(folder); }),
      m_thread([this] { list(); }) {}

TreeLister::~TreeLister() {
    {
        std::lock_guard lock(m_mutex);
        m_bStopping = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

std::optional<TreeLister::Step> TreeLister::next() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return !m_steps.empty() || m_bDone; });
    if (m_steps.empty()) {
        if (m_failure)
            std::rethrow_exception(m_failure);
        return std::nullopt;
    }
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    lock.unlock();
    m_changed.notify_all();
    return step;
}

void TreeLister::list() {
    try {
        for (;;) {
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [&] { return m_bStopping || m_steps.size() < kStepsAhead; });
                if (m_bStopping)
                    return;
            }
            std::optional<WalkedFolder> folder = m_walk.next();
            if (!folder)
                break;
            add(std::move(*folder));
        }
    } catch (...) {
        std::lock_guard lock(m_mutex);
        m_failure = std::current_exception();
    }
    {
        std::lock_guard lock(m_mutex);
        m_bDone = true;
    }
    m_changed.notify_all();
}

void TreeLister::add(Step step) {
    {
        std::lock_guard lock(m_mutex);
        m_steps.push_back(std::move(step));
    }
    m_changed.notify_all();
}
