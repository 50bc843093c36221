#include "JobSettings.h"

#include <gtest/gtest.h>

#include "CCore.h"
#include "ConfigHome.h"
#include "DocumentTypes.h"
#include "NameTemplate.h"
#include "StartJob.h"

namespace {

JobSettings withFolder(const std::string& folder) {
    JobSettings settings;
    settings.pathuser = folder;
    return settings;
}

}  // namespace

TEST(JobSettings, loadsWhatWasSavedWithNonDefaultValues) {
    ConfigHome home;
    CCore core;
    core.autoFileConfig();
    JobSettings saved{" D:\\文档\\ ", "2，21, 9", "out;=.csv", 1, 1, 1, 1, 1, 1,
                      "{20} - {21}",  1,          "xls,doc"};
    saveJobSettings(core, saved);
    JobSettings loaded = loadJobSettings(core);
    EXPECT_EQ(loaded.pathuser, saved.pathuser);
    EXPECT_EQ(loaded.propids, saved.propids);
    EXPECT_EQ(loaded.fileout, saved.fileout);
    EXPECT_EQ(loaded.getprops, 1);
    EXPECT_EQ(loaded.colfullname, 1);
    EXPECT_EQ(loaded.rename, 1);
    EXPECT_EQ(loaded.texttitle + loaded.fixnames + loaded.numberdups, 3);
    EXPECT_EQ(loaded.nametemplate, saved.nametemplate);
    EXPECT_EQ(loaded.subfolders, 1);
    EXPECT_EQ(loaded.doctypes, "xls,doc");
}

TEST(JobSettings, firstStartShowsEmptyFieldsAndClearFlags) {
    ConfigHome home;
    CCore core;
    core.autoFileConfig();
    JobSettings loaded = loadJobSettings(core);
    EXPECT_EQ(loaded.pathuser + loaded.propids + loaded.fileout, "");
    EXPECT_EQ(loaded.getprops + loaded.colfullname + loaded.rename, 0);
    EXPECT_EQ(loaded.texttitle + loaded.fixnames + loaded.numberdups, 0);
    EXPECT_EQ(loaded.nametemplate, "{21}");
    EXPECT_EQ(loaded.subfolders, 0);
    EXPECT_EQ(loaded.doctypes, "doc,docx");
}

TEST(JobSettingsValidate, failsOnTheFolderFirstForEmptyOrMissingFolders) {
    TempDir dir;
    CCore core;
    for (const std::string& folder : {std::string(), dir.file("missing"), dir.file("f.txt")}) {
        if (folder == dir.file("f.txt"))
            dir.write("f.txt");
        JobSettings settings = withFolder(folder);
        settings.getprops = 1;  // property list and output file are empty too
        auto failure = validateJobSettings(settings, core);
        ASSERT_TRUE(failure) << folder;
        EXPECT_EQ(failure->message, "要处理的目录不能为空！");
        EXPECT_EQ(failure->focus, SettingsField::Pathuser);
    }
}

TEST(JobSettingsValidate, checksPropertiesThenOutputOnlyWhenExtracting) {
    TempDir dir;
    CCore core;
    JobSettings settings = withFolder(dir.path());
    EXPECT_FALSE(validateJobSettings(settings, core));

    settings.getprops = 5;  // any nonzero value is set
    auto failure = validateJobSettings(settings, core);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, "属性序号不能为空！");
    EXPECT_EQ(failure->focus, SettingsField::Propids);

    settings.propids = "   ";  // blanks are not empty
    failure = validateJobSettings(settings, core);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, "输出文件不能为空！");
    EXPECT_EQ(failure->focus, SettingsField::Fileout);

    settings.fileout = "out.csv";
    EXPECT_FALSE(validateJobSettings(settings, core));
}

// Only a rename uses the template, and its refusal comes after the other fields'.
TEST(JobSettingsValidate, refusesABadTemplateOnlyWhenRenaming) {
    TempDir dir;
    CCore core;
    JobSettings settings = withFolder(dir.path());
    settings.nametemplate = "{21";
    settings.getprops = 1;
    settings.propids = "0";
    settings.fileout = "out.csv";
    EXPECT_FALSE(validateJobSettings(settings, core));
    settings.rename = 1;
    auto failure = validateJobSettings(settings, core);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, std::get<std::string>(NameTemplate::parse("{21")));
    EXPECT_EQ(failure->focus, SettingsField::NameTemplate);
    settings.fileout = "";
    EXPECT_EQ(validateJobSettings(settings, core)->focus, SettingsField::Fileout);
    settings.fileout = "out.csv";
    settings.nametemplate = "{20} - {21}";
    EXPECT_FALSE(validateJobSettings(settings, core));
}

// A list of kinds no job reads stops every job, with no control to focus.
TEST(JobSettingsValidate, refusesADocumentKindListWithoutAKnownKind) {
    TempDir dir;
    CCore core;
    JobSettings settings = withFolder(dir.path());
    for (const char* list : {"doc,txt", " , "}) {
        settings.doctypes = list;
        auto failure = validateJobSettings(settings, core);
        ASSERT_TRUE(failure) << list;
        EXPECT_EQ(failure->message, std::get<std::string>(DocumentTypes::parse(list)));
        EXPECT_FALSE(failure->focus);
    }
    settings.doctypes = "WPS, .et";
    EXPECT_FALSE(validateJobSettings(settings, core));
}

TEST(JobSettingsActionRule, needsExtractionOrRename) {
    JobSettings settings;
    settings.colfullname = 1;
    auto failure = checkActionRule(settings);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, "没有选择动作！");
    EXPECT_FALSE(failure->focus);
    settings.rename = 1;
    EXPECT_FALSE(checkActionRule(settings));
    settings = JobSettings{};
    settings.getprops = 1;
    EXPECT_FALSE(checkActionRule(settings));
}

TEST(JobSettingsActionRule, runsOnlyAfterASuccessfulValidate) {
    TempDir dir;
    JobRequest request{JobSettings{}, std::make_shared<CCore>(), nullptr, nullptr};
    // No folder, no action.
    EXPECT_EQ(checkJobRequest(request)->message, "要处理的目录不能为空！");
    request.settings.pathuser = dir.path();
    EXPECT_EQ(checkJobRequest(request)->message, "没有选择动作！");
    request.settings.rename = 1;
    EXPECT_FALSE(checkJobRequest(request));
}
