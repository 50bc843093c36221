#include "TestShell.h"

#include <filesystem>

#include "CCore.h"
#include "NarrowText.h"
#include "ShellAccess.h"
#include "ShellError.h"

namespace fs = std::filesystem;

struct TestShellObjects {
    using State = TestShellBackend::State;

    // Counts itself among the backend's live references.
    struct Counted {
        explicit Counted(std::atomic<int>& live) : m_live(live) { ++m_live; }
        ~Counted() { --m_live; }
        std::atomic<int>& m_live;
    };

    struct Item : ShellItemObject, Counted {
        Item(std::atomic<int>& live, std::string n) : Counted(live), name(std::move(n)) {}
        std::string name;
    };

    struct Folder : ShellFolderObject, Counted {
        Folder(std::atomic<int>& live, std::shared_ptr<State> s, std::string p)
            : Counted(live), state(std::move(s)), path(std::move(p)) {}

        std::unique_ptr<ShellItemObject> parseName(const std::string& name) override {
            std::function<void(const std::string&)> hook;
            {
                std::lock_guard guard(state->lock);
                hook = state->parseHook;
            }
            if (hook)
                hook(name);
            std::error_code error;
            if (name.empty() || !fs::exists(fs::path(path + name), error))
                return nullptr;
            return std::make_unique<Item>(m_live, name);
        }

        std::string itemDetail(ShellItemObject& object, int column) override {
            const std::string& name = static_cast<Item&>(object).name;
            std::lock_guard guard(state->lock);
            if (auto failure = state->failures.find(name); failure != state->failures.end()) {
                throw ShellError(failure->second);
            }
            if (auto text = state->details.find({name, column}); text != state->details.end()) {
                return text->second;
            }
            if (column == 0)
                return name;
            if (column == TITLE_COLUMN) {
                auto title = state->titles.find(name);
                return title == state->titles.end() ? std::string() : title->second;
            }
            return "D" + std::to_string(column) + ":" + name;
        }

        std::string itemText(ShellItemObject& object) override {
            std::lock_guard guard(state->lock);
            auto text = state->texts.find(static_cast<Item&>(object).name);
            return text == state->texts.end() ? std::string() : text->second;
        }

        std::string columnHeading(int column) override { return "H" + std::to_string(column); }

        // Its texts are set narrow; as UTF-8 they come whole for every character the code
        // page has.
        std::string itemDetailUtf8(ShellItemObject& object, int column) override {
            return narrow_text::toUtf8(itemDetail(object, column));
        }
        std::string columnHeadingUtf8(int column) override {
            return narrow_text::toUtf8(columnHeading(column));
        }

        bool itemUnreadable(ShellItemObject& object) override {
            std::lock_guard guard(state->lock);
            return state->unreadable.contains(static_cast<Item&>(object).name);
        }

        std::shared_ptr<State> state;
        std::string path;
    };

    struct Shell : ShellObject, Counted {
        Shell(std::atomic<int>& live, std::shared_ptr<State> s)
            : Counted(live), state(std::move(s)) {}

        std::unique_ptr<ShellFolderObject> nameSpace(const std::string& path) override {
            if (!CCore().isPathExist(path))
                return nullptr;
            return std::make_unique<Folder>(m_live, state, CCore().parsePath(path));
        }

        void expectItems(const std::string&, const std::vector<std::string>&,
                         bool withText) override {
            std::lock_guard guard(state->lock);
            state->textExpected = withText;
        }

        std::shared_ptr<State> state;
    };
};

void TestShellBackend::setTitle(const std::string& name, const std::string& title) {
    std::lock_guard guard(m_state->lock);
    m_state->titles[name] = title;
}

void TestShellBackend::setDetail(const std::string& name, int column, const std::string& text) {
    std::lock_guard guard(m_state->lock);
    m_state->details[{name, column}] = text;
}

void TestShellBackend::failDetailsOf(const std::string& name, std::int32_t hr) {
    std::lock_guard guard(m_state->lock);
    m_state->failures[name] = hr;
}

void TestShellBackend::markUnreadable(const std::string& name) {
    std::lock_guard guard(m_state->lock);
    m_state->unreadable.insert(name);
}

void TestShellBackend::setText(const std::string& name, const std::string& text) {
    std::lock_guard guard(m_state->lock);
    m_state->texts[name] = text;
}

bool TestShellBackend::textExpected() const {
    std::lock_guard guard(m_state->lock);
    return m_state->textExpected;
}

void TestShellBackend::onParseName(std::function<void(const std::string& name)> hook) {
    std::lock_guard guard(m_state->lock);
    m_state->parseHook = std::move(hook);
}

std::unique_ptr<ShellObject> TestShellBackend::connect() {
    if (m_failConnect)
        return nullptr;
    return std::make_unique<TestShellObjects::Shell>(m_live, m_state);
}
