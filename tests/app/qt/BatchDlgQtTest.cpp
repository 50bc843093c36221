#include "BatchDlg.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "CCore.h"
#include "ConfigHome.h"
#include "FileServices.h"
#include "GatedDocuments.h"
#include "TestShell.h"
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
    EXPECT_EQ(contextMenuOf(dialog.get()), (Entries{{"撤销上次重命名…", false}}));
    folder.allow(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return status() == "执行完成！共 2 个文件。"; }));
    EXPECT_EQ(contextMenuOf(dialog.get()), (Entries{{"撤销上次重命名…", true}}));
    EXPECT_TRUE(fileIdentity(folder.path() + "ta.docx"));

    QString question;
    Qt::TextFormat questionFormat = Qt::AutoText;
    QTimer::singleShot(0, [&question, &questionFormat] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        question = box->text();
        questionFormat = box->textFormat();
        box->button(QMessageBox::Yes)->click();
    });
    dialog->findChild<QAction*>("undoRenames")->trigger();
    EXPECT_TRUE(question.contains("将这次任务改名的 2 个文件改回原名")) << question.toStdString();
    EXPECT_EQ(questionFormat, Qt::PlainText);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].owner, dialog.get());
    EXPECT_NE(warnings[0].text.find("已恢复原名 2 个文件。"), std::string::npos);
    EXPECT_TRUE(fileIdentity(folder.path() + "a.docx"));
    EXPECT_TRUE(fileIdentity(folder.path() + "b.docx"));
}

TEST_F(BatchDlgQtTest, aWarningShowsMarkupInANameAsText) {
    setWarningHook(nullptr);
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&text, &format] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        text = box->text();
        format = box->textFormat();
        box->button(QMessageBox::Ok)->click();
    });
    CCore().msgboxWarning(dialog.get(), "有 1 个文件保留原名（已有同名文件）：a<br>b.docx");
    EXPECT_EQ(text, "有 1 个文件保留原名（已有同名文件）：a<br>b.docx");
    EXPECT_EQ(format, Qt::PlainText);
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

}  // namespace

// The widgets need the application object for the whole run, and only main() can give it
// a life that ends before Qt's own.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
