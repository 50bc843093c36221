#include "BatchDlgLogic.h"

#include <utility>

#include "DialogState.h"
#include "RenameUndo.h"
#include "resource.h"

namespace {

// The chooser's initial selection lives in a buffer of the platform's path limit, its
// terminator included; a longer text is no selection rather than a cut one.
constexpr std::size_t kFolderBufferBytes = 260;

// The control of the field, or none when the dialog has no control for it: the message
// is then shown with the focus where the user left it.
std::optional<int> focusControl(SettingsField field) {
    switch (field) {
        case SettingsField::Pathuser:
            return IDC_PATHUSER;
        case SettingsField::Propids:
            return IDC_PROPIDS;
        case SettingsField::Fileout:
            return IDC_FILEOUT;
        case SettingsField::NameTemplate:
            break;
    }
    return std::nullopt;
}

}  // namespace

CBatchDlgLogic::CBatchDlgLogic(BatchView& view, JobStarter& starter,
                               std::shared_ptr<ShellBackend> shell)
    : m_view(view), m_starter(starter), m_shell(std::move(shell)) {}

CBatchDlgLogic::~CBatchDlgLogic() {
    // The job holds its own references to everything it uses; it only must not outlive
    // the window its notices go to.
    if (m_job) {
        m_szCmd->setStop();
        m_job->wait();
    }
}

void CBatchDlgLogic::initDialog() {
    m_core = std::make_shared<CCore>();
    m_core->autoFileConfig();
    setProcessPaths(m_core->getAppPath());
    processJobSettings() = loadJobSettings(*m_core);
    show();
    applyDependencyRule();
    setRunning(false);
    m_szCmd->setStop();
}

void CBatchDlgLogic::show() {
    const JobSettings& settings = processJobSettings();
    m_view.setText(IDC_PATHUSER, settings.pathuser);
    m_view.setText(IDC_PROPIDS, settings.propids);
    m_view.setText(IDC_FILEOUT, settings.fileout);
    m_view.setCheckState(IDC_GETPROPS, settings.getprops);
    m_view.setCheckState(IDC_COLFULLNAME, settings.colfullname);
    m_view.setCheckState(IDC_RENAME, settings.rename);
}

void CBatchDlgLogic::copy() {
    JobSettings& settings = processJobSettings();
    settings.pathuser = m_view.text(IDC_PATHUSER);
    settings.propids = m_view.text(IDC_PROPIDS);
    settings.fileout = m_view.text(IDC_FILEOUT);
    settings.getprops = m_view.checkState(IDC_GETPROPS);
    settings.colfullname = m_view.checkState(IDC_COLFULLNAME);
    settings.rename = m_view.checkState(IDC_RENAME);
}

void CBatchDlgLogic::applyDependencyRule() {
    bool enabled = m_view.checkState(IDC_GETPROPS) != 0;
    for (int id : {IDC_PROPIDS, IDC_FILEOUT, IDC_PROPIDS_REF, IDC_BROWSE_OUT, IDC_OPEN_OUT,
                   IDC_COLFULLNAME}) {
        m_view.enable(id, enabled);
    }
}

void CBatchDlgLogic::command(int id) {
    if (!m_core)
        return;
    switch (id) {
        case IDC_RUN:
            if (m_bRunning) {
                stop();
            } else {
                start();
            }
            break;
        case IDC_GETPROPS:
            applyDependencyRule();
            break;
        case IDC_BROWSE_DIR:
            chooseFolder();
            break;
        case IDC_PROPIDS_REF:
            m_view.openFile(processPaths().refFilePath);
            break;
        case IDC_BROWSE_OUT:
            browseOut();
            break;
        case IDC_OPEN_OUT:
            openOut();
            break;
        case IDC_ABOUT:
            m_view.showAbout();
            break;
        default:
            break;
    }
}

void CBatchDlgLogic::start() {
    copy();
    m_previewed.reset();
    startJob({processJobSettings(), m_core, m_shell, m_szCmd});
}

void CBatchDlgLogic::previewRenames() {
    if (!m_core || m_bRunning)
        return;
    copy();
    // Only the renames are previewed: the extraction's fields cannot hold the preview up.
    JobSettings settings = processJobSettings();
    settings.rename = 1;
    settings.getprops = 0;
    m_previewed = settings;
    startJob({std::move(settings), m_core, m_shell, m_szCmd, true});
}

void CBatchDlgLogic::startJob(JobRequest request) {
    if (auto failure = checkJobRequest(request)) {
        m_view.warn(failure->message);
        if (std::optional<int> control =
                failure->focus ? focusControl(*failure->focus) : std::nullopt) {
            m_view.focus(*control);
        }
        return;
    }
    std::string idleText = m_view.text(IDC_RUN);
    m_view.setText(IDC_RUN, "停止");
    m_szCmd->clear();
    setRunning(true);
    m_job = m_starter.start(std::move(request), m_view.jobEvents());
    if (!m_job) {
        m_view.warn(kCannotStartNewThread);
        returnToIdle(idleText);
    }
}

void CBatchDlgLogic::stop() {
    m_szCmd->setStop();
    m_view.setText(IDC_RUN, "正在停止");
    m_view.enable(IDC_RUN, false);
}

void CBatchDlgLogic::setRunning(bool running) {
    m_bRunning = running ? 1 : 0;
    m_view.enableWindowCommands(!running);
}

void CBatchDlgLogic::returnToIdle(const std::string& runText) {
    m_szCmd->setStop();
    setRunning(false);
    m_view.setText(IDC_RUN, runText);
    m_view.enable(IDC_RUN, true);
}

void CBatchDlgLogic::scanProgress(std::int32_t document) {
    if (!m_core || !m_bRunning)
        return;
    m_view.setText(IDC_STATUS, progressText(*m_core, document));
}

void CBatchDlgLogic::scanDone(const JobReport& report) {
    if (!m_core || !m_bRunning)
        return;
    // The job posts its last notice just before its thread ends.
    if (m_job)
        m_job->wait();
    m_job.reset();
    returnToIdle("执行");
    m_view.setText(IDC_STATUS, doneText(*m_core, report.documents()));
    // A preview's table shows what its report would tell, unless a failure ended it.
    if (m_previewed && !report.endedByFailure())
        return offerPreview(report.previewRows());
    m_previewed.reset();
    if (std::string text = report.text(); !text.empty())
        m_view.warn(text);
}

void CBatchDlgLogic::offerPreview(const std::vector<JobReport::PreviewRow>& rows) {
    for (;;) {
        switch (m_view.showPreview(rows)) {
            case PreviewChoice::Close:
                m_previewed.reset();
                return;
            case PreviewChoice::Rename: {
                JobSettings settings = *std::exchange(m_previewed, std::nullopt);
                return startJob({std::move(settings), m_core, m_shell, m_szCmd});
            }
            case PreviewChoice::Options:
                // Saved options change what the preview shows: it runs again.
                if (m_view.editOptions())
                    return previewRenames();
                break;
        }
    }
}

void CBatchDlgLogic::editOptions() {
    if (!m_core || m_bRunning)
        return;
    m_view.editOptions();
}

void CBatchDlgLogic::undoLastRenames() {
    if (!m_core || m_bRunning)
        return;
    JournalRead found = rename_journal::latest();
    if (!found.journal) {
        m_view.warn(found.refusal);
        return;
    }
    const Journal& journal = *found.journal;
    if (journal.remaining() == 0) {
        m_view.warn(undoQuestion(journal));
        return;
    }
    if (m_view.confirm(undoQuestion(journal)))
        m_view.warn(undoReportText(journal, undoJournal(journal)));
}

void CBatchDlgLogic::chooseFolder() {
    std::string typed = m_view.text(IDC_PATHUSER);
    std::optional<std::string> initial;
    if (typed.size() < kFolderBufferBytes)
        initial = typed;
    if (auto chosen = m_view.chooseFolder(initial))
        m_view.setText(IDC_PATHUSER, *chosen);
}

void CBatchDlgLogic::browseOut() {
    std::string path = m_view.chooseSaveFile("输出文件.csv");
    if (!path.empty())
        m_view.setText(IDC_FILEOUT, path);
}

void CBatchDlgLogic::openOut() {
    JobSettings& settings = processJobSettings();
    settings.fileout = m_view.text(IDC_FILEOUT);
    if (m_core->isFileExist(settings.fileout))
        m_view.openFile(settings.fileout);
}

void CBatchDlgLogic::destroy() {
    if (!m_core)
        return;
    if (m_bRunning) {
        m_szCmd->setStop();
        if (m_job)
            m_job->wait();
        m_job.reset();
        m_bRunning = 0;
    }
    copy();
    saveJobSettings(*m_core, processJobSettings());
    m_core.reset();
}
