#include "BatchDlgLogic.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "ConfigHome.h"
#include "DialogState.h"
#include "FakeJob.h"
#include "FileServices.h"
#include "RenameJournal.h"
#include "TempDir.h"
#include "resource.h"

namespace {

struct NullEvents : JobEvents {
    void progress(std::int32_t) override {}
    void done(const JobReport&) override {}
};

JobReport reportOf(std::int32_t documents) {
    JobReport report;
    report.reached(documents);
    return report;
}

class FakeView : public BatchView {
  public:
    std::string text(int id) override { return texts[id]; }
    void setText(int id, const std::string& text) override { texts[id] = text; }
    int checkState(int id) override { return checks[id]; }
    void setCheckState(int id, int state) override { checks[id] = state; }
    void enable(int id, bool enabled) override {
        if (enabled) {
            disabled.erase(id);
        } else {
            disabled.insert(id);
        }
    }
    void focus(int id) override { focused = id; }
    void warn(const std::string& text) override {
        warnings.push_back(text);
        if (onWarn)
            onWarn();
    }
    bool confirm(const std::string& text) override {
        questions.push_back(text);
        return answerYes;
    }
    void enableWindowCommands(bool enabled) override { commandsEnabled = enabled; }
    bool editOptions() override {
        ++optionsShown;
        return optionsSaved;
    }
    PreviewChoice showPreview(const std::vector<JobReport::PreviewRow>& rows) override {
        previews.push_back(rows);
        PreviewChoice choice = previewChoices.empty() ? PreviewChoice::Close : previewChoices[0];
        if (!previewChoices.empty())
            previewChoices.erase(previewChoices.begin());
        return choice;
    }
    std::optional<std::string> chooseFolder(const std::optional<std::string>& initial) override {
        chooserInitial = initial;
        return chosenFolder;
    }
    std::string chooseSaveFile(const std::string& offeredName) override {
        offeredNames.push_back(offeredName);
        return chosenSaveFile;
    }
    void openFile(const std::string& path) override { opened.push_back(path); }
    void showAbout() override { ++abouts; }
    std::shared_ptr<JobEvents> jobEvents() override { return m_events; }

    bool enabled(int id) const { return !disabled.count(id); }

    std::map<int, std::string> texts{{IDC_RUN, "开始"}, {IDC_STATUS, "就绪"}};
    std::map<int, int> checks;
    std::set<int> disabled;
    int focused = IDC_RUN;
    std::vector<std::string> warnings;
    std::function<void()> onWarn;
    std::vector<std::string> questions;
    bool answerYes = false;
    bool commandsEnabled = false;
    int optionsShown = 0;
    bool optionsSaved = false;
    std::vector<std::vector<JobReport::PreviewRow>> previews;
    std::vector<PreviewChoice> previewChoices;  // the answers of the next windows
    std::optional<std::optional<std::string>> chooserInitial;
    std::optional<std::string> chosenFolder;
    std::vector<std::string> offeredNames;
    std::string chosenSaveFile;
    std::vector<std::string> opened;
    int abouts = 0;

  private:
    std::shared_ptr<JobEvents> m_events = std::make_shared<NullEvents>();
};

const int kDependents[] = {IDC_PROPIDS,    IDC_FILEOUT,  IDC_PROPIDS_REF,
                           IDC_BROWSE_OUT, IDC_OPEN_OUT, IDC_COLFULLNAME};
const int kIndependents[] = {IDC_PATHUSER, IDC_BROWSE_DIR, IDC_GETPROPS,
                             IDC_RENAME,   IDC_RUN,        IDC_ABOUT};

class BatchDlgLogicTest : public ::testing::Test {
  protected:
    void SetUp() override { logic.initDialog(); }

    // A folder that exists, rename ticked: a job may start.
    void fillStartable() {
        view.texts[IDC_PATHUSER] = home.dir().path();
        view.checks[IDC_RENAME] = 1;
    }
    void expectIdle(const std::string& runText) {
        EXPECT_FALSE(logic.running());
        EXPECT_EQ(view.texts[IDC_RUN], runText);
        EXPECT_TRUE(view.enabled(IDC_RUN));
        if (!starter.requests.empty()) {
            EXPECT_TRUE(starter.requests.back().command->isStop());
        }
    }

    ConfigHome home;
    FakeView view;
    FakeJobStarter starter;
    CBatchDlgLogic logic{view, starter, nullptr};
};

TEST_F(BatchDlgLogicTest, firstStartShowsEmptyFieldsAndDisablesTheDependentControls) {
    for (int id : {IDC_PATHUSER, IDC_PROPIDS, IDC_FILEOUT})
        EXPECT_EQ(view.texts[id], "");
    for (int id : {IDC_GETPROPS, IDC_COLFULLNAME, IDC_RENAME})
        EXPECT_EQ(view.checks[id], 0);
    for (int id : kDependents)
        EXPECT_FALSE(view.enabled(id)) << id;
    for (int id : kIndependents)
        EXPECT_TRUE(view.enabled(id)) << id;
    expectIdle("开始");
    EXPECT_EQ(processPaths().refFilePath, processPaths().appPath + "_propids.txt");
}

TEST_F(BatchDlgLogicTest, dependencyRuleFollowsTheExtractBoxOnClick) {
    view.checks[IDC_GETPROPS] = 1;
    logic.command(IDC_GETPROPS);
    for (int id : kDependents)
        EXPECT_TRUE(view.enabled(id)) << id;
    view.checks[IDC_GETPROPS] = 0;
    logic.command(IDC_GETPROPS);
    for (int id : kDependents)
        EXPECT_FALSE(view.enabled(id)) << id;
    for (int id : kIndependents)
        EXPECT_TRUE(view.enabled(id)) << id;
}

TEST_F(BatchDlgLogicTest, closeSavesTheControlsAndTheNextStartShowsThemChecked) {
    view.texts[IDC_PATHUSER] = " D:\\文档 ";
    view.texts[IDC_PROPIDS] = "2,21";
    view.texts[IDC_FILEOUT] = "out.csv";
    view.checks = {{IDC_GETPROPS, 1}, {IDC_COLFULLNAME, 1}, {IDC_RENAME, 1}};
    logic.destroy();
    logic.destroy();  // a second close changes nothing

    FakeView next;
    CBatchDlgLogic again(next, starter, nullptr);
    again.initDialog();
    EXPECT_EQ(next.texts[IDC_PATHUSER], " D:\\文档 ");
    EXPECT_EQ(next.texts[IDC_PROPIDS], "2,21");
    EXPECT_EQ(next.texts[IDC_FILEOUT], "out.csv");
    EXPECT_EQ(next.checks, view.checks);
    for (int id : kDependents)
        EXPECT_TRUE(next.enabled(id)) << id;
}

TEST_F(BatchDlgLogicTest, failedValidateWarnsAndFocusesTheFieldConcerned) {
    struct Case {
        bool folder;
        std::string propids, fileout;
        std::string message;
        int focus;
    };
    const Case cases[] = {
        {false, "", "", "要处理的目录不能为空！", IDC_PATHUSER},
        {true, "", "out.csv", "属性序号不能为空！", IDC_PROPIDS},
        {true, "2", "", "输出文件不能为空！", IDC_FILEOUT},
    };
    for (const Case& c : cases) {
        view.texts[IDC_PATHUSER] = c.folder ? home.dir().path() : "";
        view.texts[IDC_PROPIDS] = c.propids;
        view.texts[IDC_FILEOUT] = c.fileout;
        view.checks[IDC_GETPROPS] = 1;
        view.focused = IDC_RUN;
        view.warnings.clear();
        logic.command(IDC_RUN);
        EXPECT_EQ(view.warnings, std::vector<std::string>{c.message});
        EXPECT_EQ(view.focused, c.focus);
        EXPECT_EQ(processJobSettings().propids, c.propids);  // copied before the check
    }
    EXPECT_TRUE(starter.requests.empty());
    expectIdle("开始");
}

TEST_F(BatchDlgLogicTest, noActionChosenWarnsWithoutMovingTheFocus) {
    view.texts[IDC_PATHUSER] = home.dir().path();
    view.focused = IDC_ABOUT;
    logic.command(IDC_RUN);
    EXPECT_EQ(view.warnings, std::vector<std::string>{"没有选择动作！"});
    EXPECT_EQ(view.focused, IDC_ABOUT);
    EXPECT_TRUE(starter.requests.empty());
}

// The rename options have no control in the main dialog: a job runs with the saved ones,
// and a saved template that names nothing is told with the focus left where it was.
TEST_F(BatchDlgLogicTest, runsWithTheSavedRenameOptionsAndRefusesABadTemplateInPlace) {
    for (std::string nameTemplate : {"{20} - {21}", "{21"}) {
        CCore core;
        core.autoFileConfig();
        JobSettings saved = loadJobSettings(core);
        saved.texttitle = 1;
        saved.numberdups = 1;
        saved.nametemplate = nameTemplate;
        saveJobSettings(core, saved);
        FakeView next;
        FakeJobStarter nextStarter;
        CBatchDlgLogic again(next, nextStarter, nullptr);
        again.initDialog();
        next.texts[IDC_PATHUSER] = home.dir().path();
        next.checks[IDC_RENAME] = 1;
        next.focused = IDC_RENAME;
        again.command(IDC_RUN);
        if (nameTemplate == "{21") {
            EXPECT_TRUE(nextStarter.requests.empty());
            ASSERT_EQ(next.warnings.size(), 1u);
            EXPECT_EQ(next.focused, IDC_RENAME);
            continue;
        }
        ASSERT_EQ(nextStarter.requests.size(), 1u);
        const JobSettings& run = nextStarter.requests[0].settings;
        EXPECT_EQ(run.texttitle + run.numberdups, 2);
        EXPECT_EQ(run.fixnames, 0);
        EXPECT_EQ(run.nametemplate, nameTemplate);
        nextStarter.events[0]->done(reportOf(0));
        again.scanDone(reportOf(0));
    }
}

TEST_F(BatchDlgLogicTest, startStopAndDoneWalkTheButtonThroughItsStates) {
    fillStartable();
    view.texts[IDC_PROPIDS] = "2";
    logic.command(IDC_RUN);
    ASSERT_EQ(starter.requests.size(), 1u);
    const JobRequest& job = starter.requests[0];
    EXPECT_TRUE(logic.running());
    EXPECT_EQ(view.texts[IDC_RUN], "停止");
    EXPECT_TRUE(view.enabled(IDC_RUN));
    EXPECT_FALSE(job.command->isStop());
    EXPECT_EQ(view.texts[IDC_STATUS], "就绪");
    EXPECT_EQ(job.settings.pathuser, home.dir().path());
    EXPECT_EQ(job.settings.propids, "2");
    EXPECT_EQ(job.settings.rename, 1);
    EXPECT_TRUE(starter.events[0] && job.core);

    logic.scanProgress(1);
    EXPECT_EQ(view.texts[IDC_STATUS], "正处理第 1 个文件...");
    logic.command(IDC_RUN);
    EXPECT_TRUE(logic.running());
    EXPECT_TRUE(job.command->isStop());
    EXPECT_EQ(view.texts[IDC_RUN], "正在停止");
    EXPECT_FALSE(view.enabled(IDC_RUN));

    logic.scanDone(reportOf(1));
    expectIdle("执行");
    EXPECT_EQ(view.texts[IDC_STATUS], "执行完成！共 1 个文件。");
    EXPECT_TRUE(view.warnings.empty());

    // The next job starts from "执行" and a folder without documents says 0.
    logic.command(IDC_RUN);
    ASSERT_EQ(starter.requests.size(), 2u);
    EXPECT_EQ(view.texts[IDC_RUN], "停止");
    logic.scanDone(reportOf(0));
    expectIdle("执行");
    EXPECT_EQ(view.texts[IDC_STATUS], "执行完成！共 0 个文件。");
}

TEST_F(BatchDlgLogicTest, undoAsksFirstAndIsRefusedWhileAJobRuns) {
    logic.undoLastRenames();
    EXPECT_EQ(view.warnings, std::vector<std::string>{"没有可撤销的改名记录。"});
    TempDir documents;
    documents.write("new.doc");
    {
        JournalWriter journal(documents.path());
        ASSERT_FALSE(journal.open());
        ASSERT_FALSE(
            journal.record({"old.doc", "new.doc", *fileIdentity(documents.file("new.doc"))}));
    }
    EXPECT_TRUE(view.commandsEnabled);
    fillStartable();
    logic.command(IDC_RUN);
    EXPECT_FALSE(view.commandsEnabled);
    logic.undoLastRenames();
    EXPECT_TRUE(view.questions.empty());
    logic.scanDone(reportOf(0));
    EXPECT_TRUE(view.commandsEnabled);

    view.warnings.clear();
    logic.undoLastRenames();  // answered no
    ASSERT_EQ(view.questions.size(), 1u);
    EXPECT_NE(view.questions[0].find("目录：" + documents.path() + "\n"), std::string::npos);
    EXPECT_NE(view.questions[0].find("改名的 1 个文件改回原名"), std::string::npos);
    EXPECT_TRUE(view.warnings.empty());
    view.answerYes = true;
    logic.undoLastRenames();
    EXPECT_TRUE(fileIdentity(documents.file("old.doc")));
    ASSERT_EQ(view.warnings.size(), 1u);
    EXPECT_NE(view.warnings[0].find("已恢复原名 1 个文件。"), std::string::npos);
}

TEST_F(BatchDlgLogicTest, aThreadThatCannotStartReturnsTheDialogToIdle) {
    fillStartable();
    starter.failToStart = true;
    logic.command(IDC_RUN);
    EXPECT_EQ(view.warnings, std::vector<std::string>{"Cannot Start New Thread"});
    expectIdle("开始");
    starter.failToStart = false;
    logic.command(IDC_RUN);
    EXPECT_TRUE(logic.running());
}

TEST_F(BatchDlgLogicTest, aJobsReportIsShownOnceTheDialogIsIdle) {
    fillStartable();
    logic.command(IDC_RUN);
    JobReport report = reportOf(2);
    report.shellNotConnected();
    bool idleAtWarning = false;
    view.onWarn = [&] { idleAtWarning = !logic.running() && view.texts[IDC_RUN] == "执行"; };
    logic.scanDone(report);
    EXPECT_EQ(view.warnings, std::vector<std::string>{"无法连接外壳对象，任务未执行。"});
    EXPECT_EQ(view.texts[IDC_STATUS], "执行完成！共 2 个文件。");
    EXPECT_TRUE(idleAtWarning);
}

TEST_F(BatchDlgLogicTest, closeDuringAJobStopsItAndWaitsBeforeSaving) {
    fillStartable();
    logic.command(IDC_RUN);
    auto command = starter.requests[0].command;
    bool stopSeenAtWait = false;
    starter.onWait = [&] { stopSeenAtWait = command->isStop(); };
    logic.destroy();
    EXPECT_EQ(starter.waits, 1);
    EXPECT_TRUE(stopSeenAtWait);
    CCore core;
    EXPECT_EQ(loadJobSettings(core).pathuser, home.dir().path());
    EXPECT_EQ(loadJobSettings(core).rename, 1);
}

TEST_F(BatchDlgLogicTest, folderChooserOpensAtTheTypedFolderUnlessItIsTooLong) {
    view.texts[IDC_PATHUSER] = std::string(259, 'a');
    view.chosenFolder = std::nullopt;
    logic.command(IDC_BROWSE_DIR);
    EXPECT_EQ(view.chooserInitial, std::optional<std::string>(std::string(259, 'a')));
    EXPECT_EQ(view.texts[IDC_PATHUSER], std::string(259, 'a'));  // cancel

    view.texts[IDC_PATHUSER] = std::string(260, 'a');
    view.chosenFolder = "/chosen";
    logic.command(IDC_BROWSE_DIR);
    ASSERT_TRUE(view.chooserInitial);  // the chooser opened, without a selection
    EXPECT_FALSE(*view.chooserInitial);
    EXPECT_EQ(view.texts[IDC_PATHUSER], "/chosen");
}

TEST_F(BatchDlgLogicTest, outputCommandsOfferTheNameAndOpenOnlyExistingFiles) {
    view.texts[IDC_FILEOUT] = "keep.csv";
    logic.command(IDC_BROWSE_OUT);
    EXPECT_EQ(view.offeredNames, std::vector<std::string>{"输出文件.csv"});
    EXPECT_EQ(view.texts[IDC_FILEOUT], "keep.csv");  // cancel
    view.chosenSaveFile = "/x/输出文件.csv";
    logic.command(IDC_BROWSE_OUT);
    EXPECT_EQ(view.texts[IDC_FILEOUT], "/x/输出文件.csv");
    EXPECT_NE(processJobSettings().fileout, "/x/输出文件.csv");

    logic.command(IDC_OPEN_OUT);  // does not exist: nothing happens
    EXPECT_TRUE(view.opened.empty());
    EXPECT_EQ(processJobSettings().fileout, "/x/输出文件.csv");
    home.dir().write("out.csv");
    view.texts[IDC_FILEOUT] = home.dir().file("out.csv");
    logic.command(IDC_OPEN_OUT);
    logic.command(IDC_PROPIDS_REF);
    EXPECT_EQ(view.opened,
              (std::vector<std::string>{home.dir().file("out.csv"), processPaths().refFilePath}));
    EXPECT_TRUE(view.warnings.empty());
}

// The preview runs the dialog's folder with the saved options as a rename alone; its table
// offers the same job for real, or the options and a new preview.
TEST_F(BatchDlgLogicTest, aPreviewShowsItsRowsAndRunsExactlyThatRenameOnRequest) {
    fillStartable();
    view.checks = {{IDC_GETPROPS, 1}};
    processJobSettings().numberdups = 1;
    logic.previewRenames();
    ASSERT_EQ(starter.requests.size(), 1u);
    EXPECT_TRUE(starter.requests[0].preview);
    EXPECT_EQ(starter.requests[0].settings.rename, 1);
    EXPECT_EQ(starter.requests[0].settings.getprops, 0);
    EXPECT_EQ(starter.requests[0].settings.numberdups, 1);
    EXPECT_FALSE(view.commandsEnabled);
    EXPECT_EQ(view.texts[IDC_RUN], "停止");

    JobReport report = reportOf(2);
    report.previewed("a.doc", "标题.doc", true);
    report.previewKept("b.doc", RenameOutcome::NameTaken);
    view.previewChoices = {PreviewChoice::Options, PreviewChoice::Rename};
    logic.scanDone(report);  // options cancelled: the same table again, then the rename
    ASSERT_EQ(view.previews.size(), 2u);
    EXPECT_EQ(view.optionsShown, 1);
    const auto& rows = view.previews[0];
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].newName + "|" + rows[0].note, "标题.doc|正文");
    EXPECT_EQ(rows[1].newName + "|" + rows[1].note, "|已有同名文件");
    ASSERT_EQ(starter.requests.size(), 2u);
    const JobRequest& rename = starter.requests[1];
    EXPECT_FALSE(rename.preview);
    EXPECT_EQ(rename.settings.pathuser, home.dir().path());
    EXPECT_EQ(rename.settings.getprops, 0);
    EXPECT_EQ(rename.settings.numberdups, 1);
    EXPECT_TRUE(logic.running());

    // The rename's own report is told as any job's.
    JobReport done = reportOf(2);
    done.renameKept("b.doc", RenameOutcome::NameTaken);
    logic.scanDone(done);
    EXPECT_EQ(view.previews.size(), 2u);
    EXPECT_EQ(view.warnings.size(), 1u);
    expectIdle("执行");
}

TEST_F(BatchDlgLogicTest, savedOptionsRunThePreviewAgainAndAFailureIsToldInsteadOfATable) {
    fillStartable();
    logic.previewRenames();
    view.optionsSaved = true;
    view.previewChoices = {PreviewChoice::Options};
    logic.scanDone(reportOf(0));
    ASSERT_EQ(starter.requests.size(), 2u);
    EXPECT_TRUE(starter.requests[1].preview);

    JobReport failed = reportOf(0);
    failed.shellNotConnected();
    logic.scanDone(failed);
    EXPECT_EQ(view.previews.size(), 1u);
    EXPECT_EQ(view.warnings, std::vector<std::string>{"无法连接外壳对象，任务未执行。"});
    EXPECT_TRUE(view.commandsEnabled);
}

TEST_F(BatchDlgLogicTest, optionsAndPreviewAreRefusedWhileAJobRuns) {
    fillStartable();
    logic.command(IDC_RUN);
    logic.editOptions();
    logic.previewRenames();
    EXPECT_EQ(view.optionsShown, 0);
    EXPECT_EQ(starter.requests.size(), 1u);
    logic.scanDone(reportOf(0));
    logic.editOptions();
    EXPECT_EQ(view.optionsShown, 1);
}

}  // namespace
