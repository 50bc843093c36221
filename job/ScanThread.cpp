#include "ScanThread.h"

#include <exception>
#include <new>
#include <system_error>
#include <thread>

#include "CsvLine.h"
#include "PropertyList.h"
#include "TitleRename.h"

CScanThread::CScanThread(const JobRequest& request)
    : m_notifier(request.notifier),
      m_command(request.command),
      m_scanReport(request.report),
      m_core(request.core),
      m_backend(request.shell),
      m_settings(request.settings),
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
    if (m_scanReport)
        m_scanReport->set(m_report.text(), m_report.failed());
    m_notifier->post(WM_SCAN_DONE, m_nCount);
}

void CScanThread::scan() {
    m_folder = m_core->parsePath(m_settings.pathuser);
    if (!openFolder())
        return;
    // Listed before the output is opened, so a folder that cannot be read leaves the
    // previous output file as it was.
    FolderListing listing = listFolder(m_folder);
    if (listing.fault == FolderListing::Fault::NotOpened) {
        m_report.folderNotRead(m_folder);
        return;
    }
    if (listing.fault == FolderListing::Fault::CutShort) {
        m_report.folderCutShort(m_folder);
        return;
    }
    if (m_settings.getprops && !openOutput())
        return;
    m_nCount = 0;
    for (const ListingEntry& entry : listing.entries) {
        if (m_command->isStop())
            return;
        if (entry.directory)
            continue;
        if (!processCandidate(entry.name))
            return;
    }
}

bool CScanThread::openFolder() {
    try {
        m_shell.connectShell();
        if (!m_shell.hasShell()) {
            m_report.shellNotConnected();
            return false;
        }
        m_shell.openFolder(m_folder);
    } catch (const ShellError& error) {
        m_report.folderNotOpened(m_folder, error);
        return false;
    }
    if (!m_shell.hasFolder())
        m_report.folderNotOpened(m_folder);
    return m_shell.hasFolder();
}

bool CScanThread::openOutput() {
    m_core->createFile(m_settings.fileout, 1);
    PropertyColumns columns = propertyColumns(normalisePropertyList(m_settings.propids), *m_core);
    m_columns = std::move(columns.numbers);
    m_report.clamped(columns.clampedFields);
    if (std::optional<FileFault> fault = m_outFile.open(m_settings.fileout)) {
        m_report.outputNotOpened(m_settings.fileout, *fault);
        return false;
    }
    return true;
}

bool CScanThread::processCandidate(const std::string& name) {
    std::string extension = extensionOf(name);
    if (extension != "doc" && extension != "docx")
        return true;
    ++m_nCount;
    m_notifier->post(WM_SCAN_PROGRESS, m_nCount);
    try {
        m_shell.findItem(name);
        if (!m_shell.hasItem()) {
            // A name the shell cannot find: removed since the listing, or one without a
            // form in the code page. Only a vanished folder ends the job.
            if (!m_core->isPathExist(m_folder)) {
                m_report.folderVanished(m_folder);
                return false;
            }
            m_report.skipped(name);
            return true;
        }
        if (m_settings.getprops) {
            // The heading goes before the first line written, not before the first
            // document, which may have been skipped.
            if (!m_bHeadingWritten &&
                !writeLine(headingLine(m_columns, m_settings.colfullname, m_shell))) {
                return false;
            }
            m_bHeadingWritten = true;
            if (!writeLine(dataLine(m_columns, m_settings.colfullname, m_folder, name, m_shell))) {
                return false;
            }
        }
        if (m_settings.rename) {
            std::string title = m_shell.itemDetail(TITLE_COLUMN);
            if (!title.empty() && renameToTitle(m_folder, name, title, extension) ==
                                      MoveResult::NoReplaceUnsupported) {
                m_report.renameUnsupported(name);
            }
        }
        m_shell.releaseItem();
    } catch (const ShellError& error) {
        m_report.documentFailed(name, error);
        return false;
    }
    return true;
}

bool CScanThread::writeLine(std::string line) {
    line += "\r\n";
    if (std::optional<FileFault> fault = m_outFile.writeLine(line)) {
        m_report.outputNotWritten(m_settings.fileout, *fault);
        return false;
    }
    return true;
}

void CScanThread::finishOutput() {
    if (!m_outFile.isOpen())
        return;
    std::optional<FileFault> fault = m_outFile.finish();
    // The first failure is the one told.
    if (fault && !m_report.failed())
        m_report.outputNotWritten(m_settings.fileout, *fault);
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

namespace {

class ThreadJobHandle : public JobHandle {
  public:
    explicit ThreadJobHandle(std::thread thread) : m_thread(std::move(thread)) {}
    // The job's thread never outlives its handle.
    ~ThreadJobHandle() override { wait(); }
    void wait() override {
        if (m_thread.joinable())
            m_thread.join();
    }

  private:
    std::thread m_thread;
};

// Runs the job on the worker named in the parameters, then frees both.
void scanThreadFunction(std::unique_ptr<ScanParams> params) {
    params->worker->run();
}

}  // namespace

std::unique_ptr<JobHandle> startJob(JobRequest request) {
    try {
        auto params = std::make_unique<ScanParams>();
        params->request = std::move(request);
        params->worker = std::make_unique<CScanThread>(params->request);
        // When the thread cannot start, the parameters and the worker are freed here.
        std::thread thread(scanThreadFunction, std::move(params));
        return std::make_unique<ThreadJobHandle>(std::move(thread));
    } catch (const std::bad_alloc&) {
        return nullptr;
    } catch (const std::system_error&) {
        return nullptr;
    }
}
