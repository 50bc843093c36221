// The Linux backend: no shell to ask, so the reader answers the shell's calls itself from
// the file system and from the documents' property parts.
#include <sys/stat.h>

#include "ColumnTable.h"
#include "ColumnText.h"
#include "DocumentFile.h"
#include "ItemFacts.h"
#include "ReadAhead.h"
#include "ReaderBackend.h"

namespace {

class ReaderItem : public ShellItemObject {
  public:
    explicit ReaderItem(ItemFacts facts) : m_facts(std::move(facts)) {}
    ItemFacts& facts() { return m_facts; }

  private:
    ItemFacts m_facts;
};

// What the folders of one shell connection share: the reading ahead across them.
class ReaderSession {
  public:
    explicit ReaderSession(ReadAheadOptions options) : m_options(options) {}

    void expect(std::string folder, std::vector<std::string> names, bool withText) {
        m_withText = withText;
        if (!m_readAhead && m_options.threads > 0)
            m_readAhead = std::make_unique<ReadAhead>(m_options, withText);
        if (m_readAhead)
            m_readAhead->expect(std::move(folder), std::move(names));
    }

    std::optional<ItemFacts> facts(const std::string& folder, const std::string& name) {
        return m_readAhead ? m_readAhead->facts(folder, name)
                           : readItemFacts(folder, name, m_withText);
    }

  private:
    ReadAheadOptions m_options;
    bool m_withText = false;
    std::unique_ptr<ReadAhead> m_readAhead;
};

// Folder paths as the reader keeps them, ending with "/".
std::string folderPrefix(const std::string& path) {
    return path.back() == '/' ? path : path + '/';
}

class ReaderFolder : public ShellFolderObject {
  public:
    ReaderFolder(std::string path, std::shared_ptr<ReaderSession> session)
        : m_path(std::move(path)), m_session(std::move(session)) {}

    std::unique_ptr<ShellItemObject> parseName(const std::string& name) override {
        std::optional<ItemFacts> facts = m_session->facts(m_path, name);
        if (!facts)
            return nullptr;
        return std::make_unique<ReaderItem>(std::move(*facts));
    }

    std::string itemDetail(ShellItemObject& item, int column) override {
        const Column* known = findColumn(column);
        if (!known)
            return {};
        // Items come only from this backend's parseName.
        return columnText(known->field, static_cast<ReaderItem&>(item).facts());
    }

    std::string itemText(ShellItemObject& item) override {
        ItemFacts& facts = static_cast<ReaderItem&>(item).facts();
        // Read now for an item whose text was not announced.
        if (!facts.text) {
            facts.text.emplace();
            readDocumentFile(m_path + facts.name, AT_FDCWD, nullptr, nullptr, &*facts.text);
        }
        return *facts.text;
    }

    bool itemUnreadable(ShellItemObject& item) override {
        return static_cast<ReaderItem&>(item).facts().unreadable;
    }

    std::string columnHeading(int column) override {
        const Column* known = findColumn(column);
        return known ? known->heading : std::string();
    }

  private:
    std::string m_path;  // ends with "/"
    // Released with the connection and its last folder, so no reading thread outlives them.
    std::shared_ptr<ReaderSession> m_session;
};

class ReaderShell : public ShellObject {
  public:
    explicit ReaderShell(ReadAheadOptions options)
        : m_session(std::make_shared<ReaderSession>(options)) {}

    std::unique_ptr<ShellFolderObject> nameSpace(const std::string& path) override {
        struct stat st {};
        if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            return nullptr;
        return std::make_unique<ReaderFolder>(folderPrefix(path), m_session);
    }

    void expectItems(const std::string& folder, const std::vector<std::string>& names,
                     bool withText) override {
        if (!folder.empty())
            m_session->expect(folderPrefix(folder), names, withText);
    }

  private:
    std::shared_ptr<ReaderSession> m_session;
};

class ReaderBackend : public ShellBackend {
  public:
    explicit ReaderBackend(ReadAheadOptions options) : m_options(options) {}

    std::unique_ptr<ShellObject> connect() override {
        return std::make_unique<ReaderShell>(m_options);
    }

  private:
    ReadAheadOptions m_options;
};

}  // namespace

std::unique_ptr<ShellBackend> makeReaderBackend(ReadAheadOptions options) {
    return std::make_unique<ReaderBackend>(options);
}

std::unique_ptr<ShellBackend> makeNativeShellBackend() {
    return makeReaderBackend(ReadAheadOptions{});
}
