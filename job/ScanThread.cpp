#include "ScanThread.h"

#include <exception>

#include "ConfigPath.h"
#include "OfficeLockFile.h"
#include "OutputGuard.h"
#include "OwnerFile.h"
#include "PathSeparator.h"
#include "PropertyList.h"
#include "RowFields.h"

CScanThread::CScanThread(const JobRequest& request, std::shared_ptr<JobEvents> events)
    : m_events(std::move(events)),
      m_command(request.command),
      m_core(request.core),
      m_backend(request.shell),
      m_settings(request.settings),
      m_bPreview(request.preview),
      m_shell(*m_backend) {}

void CScanThread::run() {
    m_backend->enterThread();
    try {
        scan();
    } catch (const std::exception& error) {
        // Memory or the system failing under the job still ends it cleanly and is told.
        m_report.jobFailed(error.what());
    }
    releaseShellObjects();
    finishOutput();
    m_backend->leaveThread();
    m_report.reached(m_nCount);
    m_events->done(m_report);
}

void CScanThread::scan() {
    m_folderPath = m_core->parsePath(m_settings.pathuser);
    m_currentPath = m_folderPath;
    if (!readTypes() || !openFolder())
        return;
    // Listed before the output is opened, so a folder that cannot be read leaves the
    // previous output file as it was.
    FolderListing listing = listTop();
    if (listing.fault == FolderListing::Fault::NotOpened) {
        m_report.folderNotRead(m_folderPath);
        return;
    }
    if (listing.fault == FolderListing::Fault::CutShort) {
        m_report.folderCutShort(m_folderPath);
        return;
    }
    if (std::string settingsFolder = config_path::storeFolder(); !settingsFolder.empty())
        m_settingsFolder = fileIdentity(settingsFolder + kPathSeparator);
    // The output in the top folder is refused if it is one of these.
    std::vector<std::string> documents =
        documentNames(m_folderPath, fileIdentity(m_folderPath), listing, std::nullopt);
    // A refused template leaves the previous output file as it was too.
    if (m_settings.rename && !makeRenamer(listing))
        return;
    if (m_settings.getprops && !m_bPreview && !openOutput(documents))
        return;
    m_nCount = 0;
    announce(m_folderPath, documents);
    if (m_walk)
        walkTree(documents);
    else
        processFolder(documents);
}

bool CScanThread::readTypes() {
    std::variant<DocumentTypes, std::string> types = DocumentTypes::parse(m_settings.doctypes);
    // The start check refuses such a list; a job started without it still stops here.
    if (const std::string* refusal = std::get_if<std::string>(&types)) {
        m_report.jobFailed(*refusal);
        return false;
    }
    m_types = std::get<DocumentTypes>(std::move(types));
    return true;
}

FolderListing CScanThread::listTop() {
    if (!m_settings.subfolders)
        return listFolder(m_folderPath);
    m_walk = std::make_unique<TreeLister>(m_folderPath);
    // The top folder comes first, never as a folder not walked.
    return nextWalkedFolder()->listing;
}

std::optional<WalkedFolder> CScanThread::nextWalkedFolder() {
    while (std::optional<TreeLister::Step> step = m_walk->next()) {
        if (WalkedFolder* folder = std::get_if<WalkedFolder>(&*step))
            return std::move(*folder);
        const UnwalkedFolder& unwalked = std::get<UnwalkedFolder>(*step);
        m_report.folderNotWalked(unwalked.relative, unwalked.reason);
    }
    return std::nullopt;
}

bool CScanThread::walkTree(const std::vector<std::string>& topDocuments) {
    // The folders ahead are listed and announced before the job is done with the one it is
    // at, so the shell may read on past the end of each: a tree of small folders goes about
    // as fast as one folder.
    if (m_settings.getprops)
        m_outputPlace = outputPlace(m_settings.fileout);
    std::deque<PlannedFolder> planned;
    planAhead(planned);
    if (!processFolder(topDocuments))
        return false;
    while (!planned.empty()) {
        if (m_command->isStop())
            return false;
        PlannedFolder folder = std::move(planned.front());
        planned.pop_front();
        planAhead(planned);
        if (!processSubfolder(folder))
            return false;
    }
    return true;
}

void CScanThread::planAhead(std::deque<PlannedFolder>& planned) {
    std::size_t documents = 0;
    for (const PlannedFolder& folder : planned)
        documents += folder.documents.size();
    // In batches: each announcement may wake the backend's readers, which costs more than
    // reading a small document.
    if (documents >= kPlannedDocuments / 2 || planned.size() >= kPlannedFolders / 2)
        return;
    while (documents < kPlannedDocuments && planned.size() < kPlannedFolders) {
        std::optional<PlannedFolder> next = planNextFolder();
        if (!next)
            return;
        documents += next->documents.size();
        planned.push_back(std::move(*next));
    }
}

std::optional<CScanThread::PlannedFolder> CScanThread::planNextFolder() {
    std::optional<WalkedFolder> walked = nextWalkedFolder();
    if (!walked)
        return std::nullopt;
    // The output, made after the top folder was listed, may stand in a subfolder; a
    // preview takes its name as the job will.
    std::optional<std::string> output;
    if (m_outputPlace && sameFile(walked->identity, m_outputPlace->folder))
        output = m_outputPlace->name;
    std::vector<std::string> documents =
        documentNames(walked->path, walked->identity, walked->listing, output);
    announce(walked->path, documents);
    return PlannedFolder{std::move(*walked), std::move(output), std::move(documents)};
}

bool CScanThread::processSubfolder(const PlannedFolder& folder) {
    const WalkedFolder& walked = folder.walked;
    // One folder of the shell at a time: the one done with goes before the next opens.
    if (m_shell.hasFolder())
        m_shell.releaseFolder();
    try {
        m_shell.openFolder(walked.path);
    } catch (const ShellError&) {
        // Told below as a folder the shell does not give: only the top folder's fault
        // ends the job.
    }
    if (!m_shell.hasFolder()) {
        m_report.folderNotWalked(walked.relative, UnwalkedFolder::Reason::NotOpened);
        return true;
    }
    m_currentPath = walked.path;
    m_currentRelative = walked.relative;
    if (m_renamer) {
        m_renamer->enterFolder(walked.path, walked.relative, walked.listing);
        if (folder.output)
            m_renamer->takeName(*folder.output);
    }
    return processFolder(folder.documents);
}

void CScanThread::announce(const std::string& folder, const std::vector<std::string>& documents) {
    // The backend may read them ahead, with their text when a rename may ask for it; each
    // is still looked up at its turn.
    m_shell.expectItems(folder, documents, m_settings.rename && m_settings.texttitle);
}

bool CScanThread::processFolder(const std::vector<std::string>& documents) {
    for (const std::string& name : documents) {
        if (m_command->isStop())
            return false;
        switch (processDocument(name)) {
            case Next::Document:
                break;
            case Next::Folder:
                return true;
            case Next::Stop:
                return false;
        }
    }
    return true;
}

std::vector<std::string> CScanThread::documentNames(
    const std::string& folder, const std::optional<FileIdentity>& identity,
    const FolderListing& listing, const std::optional<std::string>& output) const {
    std::vector<std::string> names;
    if (m_settingsFolder && sameFile(identity, *m_settingsFolder))
        return names;
    for (const ListingEntry& entry : listing.entries) {
        if (!entry.directory && m_types.matches(entry.name) && entry.name != output &&
            !isOwnerFile(folder, entry.name))
            names.push_back(entry.name);
    }
    return names;
}

bool CScanThread::makeRenamer(const FolderListing& listing) {
    std::variant<RenameRules, std::string> rules = RenameRules::of(m_settings);
    // The start check refuses such a template; a job started without it still stops here.
    if (const std::string* refusal = std::get_if<std::string>(&rules)) {
        m_report.jobFailed(*refusal);
        return false;
    }
    m_renamer = std::make_unique<DocumentRenamer>(
        m_folderPath, listing, std::get<RenameRules>(std::move(rules)), m_bPreview, m_report);
    // The output is made before the first rename, so its name is taken in a preview too.
    if (m_settings.getprops) {
        if (std::optional<std::string> name = nameInFolder(m_settings.fileout, m_folderPath))
            m_renamer->takeName(*name);
    }
    return true;
}

bool CScanThread::openFolder() {
    try {
        m_shell.connectShell();
        if (!m_shell.hasShell()) {
            m_report.shellNotConnected();
            return false;
        }
        m_shell.openFolder(m_folderPath);
    } catch (const ShellError& error) {
        m_report.folderNotOpened(m_folderPath, error);
        return false;
    }
    if (!m_shell.hasFolder())
        m_report.folderNotOpened(m_folderPath);
    return m_shell.hasFolder();
}

bool CScanThread::openOutput(const std::vector<std::string>& documents) {
    const std::string& path = m_settings.fileout;
    // A workbook appears at its name only once it is complete.
    if (!isWorkbookPath(path))
        m_core->createFile(path, 1);
    PropertyColumns columns = propertyColumns(normalisePropertyList(m_settings.propids), *m_core);
    m_columns = std::move(columns.numbers);
    m_report.clamped(columns.clampedFields);
    m_output = makeJobOutput(path);
    std::optional<FileFault> fault =
        m_output->open(path, documentRefusal(path, m_folderPath, documents));
    if (fault == FileFault::OfficeLockFile)
        m_report.outputHeldByLockFile(path, officeLockFilePath(path), readOfficeLockHolder(path));
    else if (fault)
        m_report.outputNotOpened(path, *fault);
    return !fault;
}

CScanThread::Next CScanThread::processDocument(const std::string& name) {
    ++m_nCount;
    m_events->progress(m_nCount);
    std::string shown = m_currentRelative + name;
    try {
        m_shell.findItem(name);
        if (!m_shell.hasItem()) {
            // A name the shell cannot find: removed since the listing, or one without a
            // form in the code page. A vanished top folder ends the job, a vanished
            // subfolder only its own part.
            if (!m_core->isPathExist(m_currentPath)) {
                if (m_currentRelative.empty()) {
                    m_report.folderVanished(m_currentPath);
                    return Next::Stop;
                }
                m_report.folderNotWalked(m_currentRelative, UnwalkedFolder::Reason::NotOpened);
                return Next::Folder;
            }
            m_report.skipped(shown);
            return Next::Document;
        }
        if (m_shell.itemUnreadable())
            m_report.unreadable(shown);
        if (m_settings.getprops && !m_bPreview) {
            // The heading goes before the first line written, not before the first
            // document, which may have been skipped.
            TextForm form = m_output->textForm();
            if (!m_bHeadingWritten &&
                !writeRow(headingFields(m_columns, m_settings.colfullname, m_shell, form))) {
                return Next::Stop;
            }
            m_bHeadingWritten = true;
            if (!writeRow(dataFields(m_columns, m_settings.colfullname, m_currentPath, name,
                                     m_shell, form))) {
                return Next::Stop;
            }
        }
        // A document is renamed only once its line is in the file.
        if (m_settings.rename) {
            if (!writeRows())
                return Next::Stop;
            m_renamer->rename(name, {[this](int column) { return m_shell.itemDetail(column); },
                                     [this] { return m_shell.itemText(); }});
        }
        m_shell.releaseItem();
    } catch (const ShellError& error) {
        m_report.documentFailed(shown, error);
        return Next::Stop;
    }
    return Next::Document;
}

bool CScanThread::writeRow(const std::vector<std::string>& fields) {
    return outputWritten(m_output->addRow(fields));
}

bool CScanThread::writeRows() {
    // A rename without the properties has no output.
    return !m_output || outputWritten(m_output->writeRows());
}

bool CScanThread::outputWritten(const std::optional<FileFault>& fault) {
    if (fault && !m_report.endedByFailure())
        m_report.outputNotWritten(m_settings.fileout, *fault);
    return !fault;
}

void CScanThread::finishOutput() {
    // The rows of every document processed, also when the job stopped or failed after it.
    if (m_output && m_output->isOpen())
        outputWritten(m_output->finish());
}

void CScanThread::releaseShellObjects() {
    // Each reference is released once, and only when still held.
    if (m_shell.hasItem())
        m_shell.releaseItem();
    if (m_shell.hasFolder())
        m_shell.releaseFolder();
    if (m_shell.hasShell())
        m_shell.releaseShell();
}
