#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "BatchView.h"

// A job that runs nowhere: the test plays its notices and sees what it was handed.
class FakeJobStarter : public JobStarter {
  public:
    struct Handle : JobHandle {
        explicit Handle(FakeJobStarter& owner) : m_owner(owner) {}
        void wait() override {
            ++m_owner.waits;
            if (m_owner.onWait)
                m_owner.onWait();
        }
        FakeJobStarter& m_owner;
    };

    std::unique_ptr<JobHandle> start(JobRequest request,
                                     std::shared_ptr<JobEvents> jobEvents) override {
        requests.push_back(std::move(request));
        events.push_back(std::move(jobEvents));
        if (failToStart)
            return nullptr;
        return std::make_unique<Handle>(*this);
    }

    bool failToStart = false;
    std::vector<JobRequest> requests;
    std::vector<std::shared_ptr<JobEvents>> events;
    int waits = 0;
    std::function<void()> onWait;
};
