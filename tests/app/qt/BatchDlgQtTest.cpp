#include "BatchDlg.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "CCore.h"
#include "ConfigHome.h"
#include "FileServices.h"
#include "GatedDocuments.h"
#include "JobSettings.h"
#include "OptionsDlg.h"
#include "PreviewDlg.h"
#include "QtTranslations.h"
#include "TestShell.h"
#include "qt/QuestionBox.h"
#include "qt/UiHooks.h"
#include "resource.h"

// Failures show Qt's texts and URLs as text rather than as bytes.
static void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}
static void PrintTo(const QUrl& url, std::ostream* out) {
    *out << url.toString().toStdString();
}

namespace {

struct Warning {
    OwnerWindow owner;
    std::string text;
};

class BatchDlgQtTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setWarningHook([this](OwnerWindow owner, const std::string& text) {
            warnings.push_back({owner, text});
        });
        setOpenUrlHook([this](const QUrl& url) { opened.push_back(url); });
        open();
    }
    void TearDown() override {
        dialog.reset();
        setWarningHook(nullptr);
        setNextFileName(std::nullopt);
        setOpenUrlHook(nullptr);
        setQuestionHook(nullptr);
    }

    void open() {
        dialog = std::make_unique<CBatchDlg>(starter, shell);
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    template <class Widget = QWidget>
    Widget* control(const char* name) {
        auto* widget = dialog->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_TRUE(widget) << name;
        return widget;
    }
    QString buttonText(const char* name) { return control<QAbstractButton>(name)->text(); }
    QString status() { return control<QLabel>("IDC_STATUS")->text(); }
    void click(const char* name) {
        QTest::mouseClick(control(name), Qt::LeftButton, {}, QPoint(5, 5));
    }
    void type(const char* name, const QString& text) { control<QLineEdit>(name)->setText(text); }
    QString focusName() {
        QWidget* focused = QApplication::focusWidget();
        return focused ? focused->objectName() : QString();
    }

    ConfigHome home;
    ThreadJobStarter starter;
    std::shared_ptr<TestShellBackend> shell = std::make_shared<TestShellBackend>();
    std::unique_ptr<CBatchDlg> dialog;
    std::vector<Warning> warnings;
    std::vector<QUrl> opened;
};

TEST_F(BatchDlgQtTest, firstStartShowsEmptyClearControlsWithTheDependentOnesDisabled) {
    for (const char* name : {"IDC_PATHUSER", "IDC_PROPIDS", "IDC_FILEOUT"}) {
        EXPECT_EQ(control<QLineEdit>(name)->text(), "") << name;
    }
    for (const char* name : {"IDC_GETPROPS", "IDC_COLFULLNAME", "IDC_RENAME"}) {
        EXPECT_FALSE(control<QCheckBox>(name)->isChecked()) << name;
    }
    for (const char* name : {"IDC_PROPIDS", "IDC_FILEOUT", "IDC_PROPIDS_REF", "IDC_BROWSE_OUT",
                             "IDC_OPEN_OUT", "IDC_COLFULLNAME"}) {
        EXPECT_FALSE(control(name)->isEnabled()) << name;
    }
    EXPECT_TRUE(control("IDC_RENAME")->isEnabled());
    EXPECT_EQ(buttonText("IDC_RUN"), "开始");
    EXPECT_EQ(status(), "就绪");
    EXPECT_EQ(dialog->windowTitle(), "Tarnel");
    EXPECT_EQ(dialog->windowIcon().availableSizes(),
              (QList<QSize>{QSize(16, 16), QSize(32, 32), QSize(48, 48)}));
    EXPECT_EQ(focusName(), "IDC_RUN");

    // Tab walks the enabled controls in template order.
    for (const char* next :
         {"IDC_PATHUSER", "IDC_BROWSE_DIR", "IDC_GETPROPS", "IDC_RENAME", "IDC_ABOUT", "IDC_RUN"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(focusName(), next);
    }
}

TEST_F(BatchDlgQtTest, clickingTheExtractBoxAppliesTheDependencyRule) {
    click("IDC_GETPROPS");
    for (const char* name : {"IDC_PROPIDS", "IDC_FILEOUT", "IDC_PROPIDS_REF", "IDC_BROWSE_OUT",
                             "IDC_OPEN_OUT", "IDC_COLFULLNAME"}) {
        EXPECT_TRUE(control(name)->isEnabled()) << name;
    }
    click("IDC_GETPROPS");
    EXPECT_FALSE(control("IDC_PROPIDS")->isEnabled());
    EXPECT_FALSE(control("IDC_COLFULLNAME")->isEnabled());
}

TEST_F(BatchDlgQtTest, startWithFailingChecksWarnsOwnedByTheDialogAndMovesTheFocus) {
    QString folder = QString::fromStdString(home.dir().path());
    struct Case {
        QString folder, propids, fileout;
        std::string message;
        QString focus;
    };
    const Case cases[] = {
        {"", "", "", "要处理的目录不能为空！", "IDC_PATHUSER"},
        {folder, "", "out.csv", "属性序号不能为空！", "IDC_PROPIDS"},
        {folder, "2", "", "输出文件不能为空！", "IDC_FILEOUT"},
    };
    click("IDC_GETPROPS");
    for (const Case& c : cases) {
        warnings.clear();
        type("IDC_PATHUSER", c.folder);
        type("IDC_PROPIDS", c.propids);
        type("IDC_FILEOUT", c.fileout);
        click("IDC_RUN");
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_EQ(warnings[0].text, c.message);
        EXPECT_EQ(warnings[0].owner, dialog.get());
        EXPECT_EQ(focusName(), c.focus);
    }
    warnings.clear();
    click("IDC_GETPROPS");
    control("IDC_ABOUT")->setFocus();
    click("IDC_RUN");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].text, "没有选择动作！");
    EXPECT_EQ(buttonText("IDC_RUN"), "开始");
}

TEST_F(BatchDlgQtTest, aJobOverThreeDocumentsCountsThemAndEnds) {
    GatedDocuments folder(*shell, {"a.docx", "b.doc", "c.docx", "notes.txt"});
    type("IDC_PATHUSER", QString::fromStdString(folder.path()));
    click("IDC_GETPROPS");
    type("IDC_PROPIDS", "0,2");
    type("IDC_FILEOUT", QString::fromStdString(home.dir().file("out.csv")));
    click("IDC_RUN");
    EXPECT_EQ(buttonText("IDC_RUN"), "停止");
    for (int n = 1; n <= 3; ++n) {
        QString progress = QString("正处理第 %1 个文件...").arg(n);
        EXPECT_TRUE(QTest::qWaitFor([&] { return status() == progress; })) << n;
        folder.allow(n);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return status() == "执行完成！共 3 个文件。"; }));
    EXPECT_EQ(buttonText("IDC_RUN"), "执行");
    EXPECT_TRUE(control("IDC_RUN")->isEnabled());
    EXPECT_TRUE(warnings.empty());
    EXPECT_NE(readFile(home.dir().file("out.csv")).find("b.doc"), std::string::npos);
}

TEST_F(BatchDlgQtTest, stopDuringAJobDisablesTheButtonUntilDone) {
    GatedDocuments folder(*shell, {"a.docx", "b.docx", "c.docx"});
    type("IDC_PATHUSER", QString::fromStdString(folder.path()));
    click("IDC_RENAME");
    click("IDC_RUN");
    ASSERT_TRUE(QTest::qWaitFor([&] { return status() == "正处理第 1 个文件..."; }));
    click("IDC_RUN");
    EXPECT_EQ(buttonText("IDC_RUN"), "正在停止");
    EXPECT_FALSE(control("IDC_RUN")->isEnabled());
    folder.allow(3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return status() == "执行完成！共 1 个文件。"; }));
    EXPECT_EQ(buttonText("IDC_RUN"), "执行");
    EXPECT_TRUE(control("IDC_RUN")->isEnabled());
}

// The texts of the menu a right click on the dialog's background opens, each with whether
// it can be chosen; the menu is closed again.
std::vector<std::pair<QString, bool>> contextMenuOf(QWidget* dialog) {
    std::vector<std::pair<QString, bool>> entries;
    QTimer::singleShot(0, [&entries] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions())
            entries.emplace_back(action->text(), action->isEnabled());
        menu->close();
    });
    QPoint background(3, 3);
    QContextMenuEvent click(QContextMenuEvent::Mouse, background, dialog->mapToGlobal(background));
    QApplication::sendEvent(dialog, &click);
    return entries;
}

TEST_F(BatchDlgQtTest, theContextMenuUndoesTheLastRenamesAfterAskingButNotDuringAJob) {
    GatedDocuments folder(*shell, {"a.docx", "b.docx"});
    shell->setTitle("a.docx", "ta");
    shell->setTitle("b.docx", "tb");
    type("IDC_PATHUSER", QString::fromStdString(folder.path()));
    click("IDC_RENAME");
    click("IDC_RUN");
    ASSERT_TRUE(QTest::qWaitFor([&] { return status() == "正处理第 1 个文件..."; }));
    using Entries = std::vector<std::pair<QString, bool>>;
    EXPECT_EQ(contextMenuOf(dialog.get()),
              (Entries{{"选项…", false}, {"预览重命名…", false}, {"撤销上次重命名…", false}}));
    folder.allow(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return status() == "执行完成！共 2 个文件。"; }));
    EXPECT_EQ(contextMenuOf(dialog.get()),
              (Entries{{"选项…", true}, {"预览重命名…", true}, {"撤销上次重命名…", true}}));
    EXPECT_TRUE(fileIdentity(folder.path() + "ta.docx"));

    std::vector<Warning> questions;
    bool answer = false;
    setQuestionHook([&](OwnerWindow owner, const std::string& text) {
        questions.push_back({owner, text});
        return answer;
    });
    dialog->findChild<QAction*>("undoRenames")->trigger();  // answered no
    EXPECT_TRUE(warnings.empty());
    EXPECT_TRUE(fileIdentity(folder.path() + "ta.docx"));
    answer = true;
    dialog->findChild<QAction*>("undoRenames")->trigger();
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[1].owner, dialog.get());
    EXPECT_NE(questions[1].text.find("将这次任务改名的 2 个文件改回原名"), std::string::npos);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].owner, dialog.get());
    EXPECT_NE(warnings[0].text.find("已恢复原名 2 个文件。"), std::string::npos);
    EXPECT_TRUE(fileIdentity(folder.path() + "a.docx"));
    EXPECT_TRUE(fileIdentity(folder.path() + "b.docx"));
}

TEST_F(BatchDlgQtTest, aWarningOrAQuestionShowsMarkupInANameAsText) {
    setWarningHook(nullptr);
    const std::string text = "有 1 个文件保留原名（已有同名文件）：a<br>b.docx";
    for (QMessageBox::StandardButton button : {QMessageBox::Ok, QMessageBox::Yes}) {
        QString shown;
        Qt::TextFormat format = Qt::AutoText;
        QTimer::singleShot(0, [&shown, &format, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            shown = box->text();
            format = box->textFormat();
            box->button(button)->click();
        });
        if (button == QMessageBox::Ok)
            CCore().msgboxWarning(dialog.get(), text);
        else
            EXPECT_TRUE(askYesNo(dialog.get(), text));
        EXPECT_EQ(shown.toStdString(), text);
        EXPECT_EQ(format, Qt::PlainText);
    }
}

TEST_F(BatchDlgQtTest, eachChooserFillsItsEditAndACancelKeepsItsText) {
    struct Case {
        const char* button;
        const char* edit;
        std::string answer;
        QString text;
    };
    const Case cases[] = {
        {"IDC_BROWSE_DIR", "IDC_PATHUSER", "/文档/报告", "/文档/报告"},
        {"IDC_BROWSE_DIR", "IDC_PATHUSER", "", "/文档/报告"},
        {"IDC_BROWSE_OUT", "IDC_FILEOUT", "/文档/输出文件.csv", "/文档/输出文件.csv"},
        {"IDC_BROWSE_OUT", "IDC_FILEOUT", "", "/文档/输出文件.csv"},
    };
    click("IDC_GETPROPS");
    for (const Case& c : cases) {
        setNextFileName(c.answer);
        click(c.button);
        EXPECT_EQ(control<QLineEdit>(c.edit)->text(), c.text) << c.button << " " << c.answer;
    }
}

TEST_F(BatchDlgQtTest, referenceButtonOpensThePropidsListAndOpenButtonAnExistingOutput) {
    home.dir().write("out.csv");
    click("IDC_GETPROPS");
    click("IDC_PROPIDS_REF");
    type("IDC_FILEOUT", QString::fromStdString(home.dir().file("missing.csv")));
    click("IDC_OPEN_OUT");
    type("IDC_FILEOUT", QString::fromStdString(home.dir().file("out.csv")));
    click("IDC_OPEN_OUT");
    EXPECT_EQ(opened,
              (std::vector<QUrl>{
                  QUrl::fromLocalFile(QApplication::applicationDirPath() + "/_propids.txt"),
                  QUrl::fromLocalFile(QString::fromStdString(home.dir().file("out.csv")))}));
}

TEST_F(BatchDlgQtTest, enterEscAndAltF4DoNothingWhileSpacePressesTheFocusedButton) {
    type("IDC_PATHUSER", "x");
    control("IDC_PATHUSER")->setFocus();
    QTest::keyClick(control("IDC_PATHUSER"), Qt::Key_Return);
    QTest::keyClick(control("IDC_PATHUSER"), Qt::Key_Escape);
    control("IDC_RUN")->setFocus();
    QTest::keyClick(control("IDC_RUN"), Qt::Key_Return);
    QTest::keyClick(dialog.get(), Qt::Key_F4, Qt::AltModifier);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(warnings.empty());  // Enter did not press the start button

    control("IDC_GETPROPS")->setFocus();
    QTest::keyClick(control("IDC_GETPROPS"), Qt::Key_Space);
    EXPECT_TRUE(control<QCheckBox>("IDC_GETPROPS")->isChecked());
    EXPECT_TRUE(control("IDC_PROPIDS")->isEnabled());
}

// Runs act on the modal window of that class once it shows, from within the window's own
// loop, which the test's thread is held in until the window closes.
template <class Window>
void whenModal(std::function<void(Window*)> act) {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* window = dynamic_cast<Window*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(window);
        }
    });
    timer->start(10);
}

template <class Widget = QWidget>
Widget* child(QWidget* window, const char* name) {
    auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_TRUE(widget) << name;
    return widget;
}

void clickChild(QWidget* window, const char* name) {
    QTest::mouseClick(child(window, name), Qt::LeftButton, {}, QPoint(5, 5));
}

TEST_F(BatchDlgQtTest, theOptionsShowTheSavedOnesRefuseABadTemplateAndSaveOnlyOnOk) {
    int shown = 0;
    auto change = [&](const QString& nameTemplate, bool ok) {
        whenModal<COptionsDlg>([&, nameTemplate, ok](COptionsDlg* options) {
            ++shown;
            EXPECT_EQ(options->windowTitle(), "选项");
            EXPECT_TRUE(child<QCheckBox>(options, "IDC_OPT_WORD")->isChecked());
            EXPECT_FALSE(child<QCheckBox>(options, "IDC_OPT_SUBFOLDERS")->isChecked());
            EXPECT_EQ(child<QLineEdit>(options, "IDC_OPT_TEMPLATE")->text(), "{21}");
            clickChild(options, "IDC_OPT_SUBFOLDERS");
            clickChild(options, "IDC_OPT_SHEETS");
            child<QLineEdit>(options, "IDC_OPT_TEMPLATE")->setText("{20");
            clickChild(options, "IDOK");
            EXPECT_TRUE(options->isVisible());
            ASSERT_EQ(warnings.size(), 1u);
            EXPECT_EQ(warnings[0].owner, options);
            EXPECT_EQ(focusName(), "IDC_OPT_TEMPLATE");
            warnings.clear();
            child<QLineEdit>(options, "IDC_OPT_TEMPLATE")->setText(nameTemplate);
            if (ok)  // Enter presses the default button, 确定
                QTest::keyClick(child(options, "IDC_OPT_TEMPLATE"), Qt::Key_Return);
            else
                clickChild(options, "IDCANCEL");
        });
        dialog->findChild<QAction*>("options")->trigger();
    };
    change("{20} - {21}", false);
    EXPECT_EQ(loadJobSettings(*std::make_unique<CCore>()).subfolders, 0);
    change("{20} - {21}", true);
    EXPECT_EQ(shown, 2);
    CCore core;
    JobSettings saved = loadJobSettings(core);
    EXPECT_EQ(saved.subfolders, 1);
    EXPECT_EQ(saved.doctypes, "doc,docx,xls,xlsx,xlsm,et,ett");
    EXPECT_EQ(saved.nametemplate, "{20} - {21}");
    EXPECT_TRUE(warnings.empty());
}

// The cells of a model, one "old|new|note" text a row.
QStringList rowsOf(const QAbstractItemModel& model) {
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << model.index(row, column).data().toString();
        rows << cells.join('|');
    }
    return rows;
}

TEST_F(BatchDlgQtTest, thePreviewListsSortsAndFiltersTheRenamesThenRunsThemOnRequest) {
    TempDir folder;
    for (const char* name : {"a.docx", "b.docx", "c.docx"})
        folder.write(name);
    shell->setTitle("a.docx", "ta");
    shell->setTitle("c.docx", "tc");
    type("IDC_PATHUSER", QString::fromStdString(folder.path()));
    QStringList rows, descending, kept;
    bool renamedByPreview = true;
    whenModal<CPreviewDlg>([&](CPreviewDlg* preview) {
        auto* table = child<QTableView>(preview, "IDC_PREVIEW_LIST");
        rows = rowsOf(*table->model());
        QHeaderView* header = table->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionPosition(0) + 5, 5));
        descending = rowsOf(*table->model());
        clickChild(preview, "IDC_PREVIEW_KEPT");
        kept = rowsOf(*table->model());
        renamedByPreview = fileIdentity(folder.file("ta.docx")).has_value();
        clickChild(preview, "IDC_PREVIEW_RUN");
    });
    dialog->findChild<QAction*>("previewRenames")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rows.empty(); }));
    EXPECT_EQ(rows, (QStringList{"a.docx|ta.docx|", "b.docx||标题为空", "c.docx|tc.docx|"}));
    EXPECT_EQ(descending, (QStringList{"c.docx|tc.docx|", "b.docx||标题为空", "a.docx|ta.docx|"}));
    EXPECT_EQ(kept, QStringList{"b.docx||标题为空"});
    EXPECT_FALSE(renamedByPreview);
    // The rename runs as the start button's job does, its count and stop included.
    EXPECT_EQ(buttonText("IDC_RUN"), "停止");
    ASSERT_TRUE(QTest::qWaitFor([&] { return buttonText("IDC_RUN") == "执行"; }));
    EXPECT_EQ(status(), "执行完成！共 3 个文件。");
    EXPECT_TRUE(warnings.empty());
    EXPECT_TRUE(fileIdentity(folder.file("ta.docx")));
    EXPECT_TRUE(fileIdentity(folder.file("tc.docx")));
    EXPECT_TRUE(fileIdentity(folder.file("b.docx")));
    EXPECT_FALSE(control<QCheckBox>("IDC_RENAME")->isChecked());
}

TEST_F(BatchDlgQtTest, closeSavesTheSettingsAndTheNextStartShowsThem) {
    type("IDC_PATHUSER", "/文档/");
    click("IDC_GETPROPS");
    type("IDC_PROPIDS", "2,21");
    type("IDC_FILEOUT", "out.csv");
    click("IDC_COLFULLNAME");
    dialog->close();
    dialog.reset();
    open();
    EXPECT_EQ(control<QLineEdit>("IDC_PATHUSER")->text(), "/文档/");
    EXPECT_EQ(control<QLineEdit>("IDC_PROPIDS")->text(), "2,21");
    EXPECT_EQ(control<QLineEdit>("IDC_FILEOUT")->text(), "out.csv");
    EXPECT_TRUE(control<QCheckBox>("IDC_GETPROPS")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("IDC_COLFULLNAME")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("IDC_RENAME")->isChecked());
    EXPECT_TRUE(control("IDC_PROPIDS")->isEnabled());
}

// Only where Qt's translations are installed: elsewhere Qt stays in English.
TEST(QtTranslations, makeQtsStandardButtonsChinese) {
    QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(folder + "/qtbase_zh_CN.qm"))
        GTEST_SKIP() << "no qtbase_zh_CN.qm in " << folder.toStdString();
    loadQtTranslations(*QCoreApplication::instance());
    QMessageBox box(QMessageBox::Warning, "Tarnel", "", QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), "确定");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "取消");
}

}  // namespace

// The widgets need the application object for the whole run, and only main() can give it
// a life that ends before Qt's own.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
