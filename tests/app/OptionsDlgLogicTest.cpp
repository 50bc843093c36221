#include "OptionsDlgLogic.h"

#include <gtest/gtest.h>

#include <map>

#include "CCore.h"
#include "ConfigHome.h"
#include "DialogState.h"
#include "JobSettings.h"
#include "resource.h"

namespace {

class FakeControls : public DialogControls {
  public:
    std::string text(int id) override { return texts[id]; }
    void setText(int id, const std::string& text) override { texts[id] = text; }
    int checkState(int id) override { return checks[id]; }
    void setCheckState(int id, int state) override { checks[id] = state; }
    void enable(int, bool) override {}
    void focus(int id) override { focused = id; }
    void warn(const std::string& text) override { warnings.push_back(text); }

    std::map<int, std::string> texts;
    std::map<int, int> checks;
    int focused = 0;
    std::vector<std::string> warnings;
};

class OptionsDlgLogicTest : public ::testing::Test {
  protected:
    void SetUp() override { core.autoFileConfig(); }

    void save(void (*change)(JobSettings&)) {
        JobSettings settings = loadJobSettings(core);
        change(settings);
        saveJobSettings(core, settings);
    }
    // The dialog opened on the saved options, changed by the user, then 确定.
    bool openAndAccept(const std::map<int, int>& checks, const std::string& nameTemplate) {
        logic.initDialog();
        for (auto [id, state] : checks)
            view.checks[id] = state;
        view.texts[IDC_OPT_TEMPLATE] = nameTemplate;
        return logic.accept();
    }

    ConfigHome home;
    CCore core;
    FakeControls view;
    COptionsDlgLogic logic{view, core};
};

TEST_F(OptionsDlgLogicTest, showsTheSavedOptionsAndSavesTheChangedOnesForTheDialogToo) {
    save([](JobSettings& s) {
        s.pathuser = "/docs";
        s.subfolders = 1;
        s.fixnames = 1;
        s.doctypes = "wps,ppt";
        s.nametemplate = "{20} - {21}";
    });
    logic.initDialog();
    EXPECT_EQ(view.checks, (std::map<int, int>{{IDC_OPT_SUBFOLDERS, 1},
                                               {IDC_OPT_TEXTTITLE, 0},
                                               {IDC_OPT_FIXNAMES, 1},
                                               {IDC_OPT_NUMBERDUPS, 0},
                                               {IDC_OPT_WORD, 0},
                                               {IDC_OPT_WPS, 1},
                                               {IDC_OPT_SHEETS, 0},
                                               {IDC_OPT_SLIDES, 1}}));
    EXPECT_EQ(view.texts[IDC_OPT_TEMPLATE], "{20} - {21}");

    ASSERT_TRUE(openAndAccept({{IDC_OPT_SUBFOLDERS, 0},
                               {IDC_OPT_TEXTTITLE, 1},
                               {IDC_OPT_NUMBERDUPS, 1},
                               {IDC_OPT_WPS, 0},
                               {IDC_OPT_SHEETS, 1}},
                              "{21}（{20}）"));
    JobSettings saved = loadJobSettings(core);
    EXPECT_EQ(saved.subfolders, 0);
    EXPECT_EQ(saved.texttitle, 1);
    EXPECT_EQ(saved.fixnames, 1);
    EXPECT_EQ(saved.numberdups, 1);
    EXPECT_EQ(saved.nametemplate, "{21}（{20}）");
    EXPECT_EQ(saved.pathuser, "/docs");
    EXPECT_EQ(processJobSettings().nametemplate, "{21}（{20}）");
    EXPECT_EQ(processJobSettings().doctypes, saved.doctypes);
    EXPECT_TRUE(view.warnings.empty());
}

// A kind box left ticked keeps the extensions chosen, so 确定 on the defaults takes no
// new kinds; a newly ticked box takes all of its kind.
TEST_F(OptionsDlgLogicTest, kindBoxesKeepTheChosenExtensionsAndAddWholeKinds) {
    struct Case {
        std::string saved;
        std::map<int, int> clicks;
        std::string expected;
    };
    const Case cases[] = {
        {"doc,docx", {}, "doc,docx"},
        {"docx", {{IDC_OPT_SHEETS, 1}}, "docx,xls,xlsx,xlsm,et,ett"},
        {"doc,ppt", {{IDC_OPT_WORD, 0}, {IDC_OPT_WPS, 1}}, "wps,wpt,ppt"},
        {"xyz", {}, "doc,docx"},  // a list the job refuses shows the defaults
    };
    for (const Case& c : cases) {
        core.saveConfigStr("doctypes", c.saved);
        ASSERT_TRUE(openAndAccept(c.clicks, "{21}")) << c.saved;
        EXPECT_EQ(loadJobSettings(core).doctypes, c.expected) << c.saved;
    }
}

TEST_F(OptionsDlgLogicTest, refusesABadTemplateOrNoKindWithFocusAndSavesNothing) {
    save([](JobSettings& s) { s.nametemplate = "{20}"; });
    const struct {
        std::map<int, int> clicks;
        std::string nameTemplate;
        int focus;
    } cases[] = {
        {{{IDC_OPT_SUBFOLDERS, 1}}, "{21", IDC_OPT_TEMPLATE},
        {{{IDC_OPT_SUBFOLDERS, 1}}, "", IDC_OPT_TEMPLATE},
        {{{IDC_OPT_SUBFOLDERS, 1}, {IDC_OPT_WORD, 0}}, "{21}", IDC_OPT_WORD},
    };
    for (const auto& c : cases) {
        view.warnings.clear();
        EXPECT_FALSE(openAndAccept(c.clicks, c.nameTemplate)) << c.nameTemplate;
        ASSERT_EQ(view.warnings.size(), 1u);
        EXPECT_EQ(view.focused, c.focus);
        EXPECT_EQ(loadJobSettings(core).subfolders, 0);
        EXPECT_EQ(loadJobSettings(core).nametemplate, "{20}");
    }
    // The refusal is the start check's.
    JobSettings bad;
    bad.pathuser = home.dir().path();
    bad.rename = 1;
    bad.nametemplate = "{21";
    EXPECT_FALSE(openAndAccept({}, "{21"));
    EXPECT_EQ(view.warnings.back(), validateJobSettings(bad, core)->message);
}

}  // namespace
