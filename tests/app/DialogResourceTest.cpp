// The Qt dialogs are built from the control tables; the Windows dialogs from Tarnel.rc. These
// tests read the resource script's IDD_MAIN and IDD_OPTIONS blocks and hold each to its table.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "DialogTemplate.h"
#include "OptionsTemplate.h"
#include "TempDir.h"

namespace {

// A control as the resource script states it; statement is its keyword with the class and
// style that set its behaviour (kind, tab stop, scrolling).
struct ScriptControl {
    std::string statement;
    std::string name;
    std::string text;
    int x, y, width, height;
    bool operator==(const ScriptControl&) const = default;
};

void PrintTo(const ScriptControl& c, std::ostream* out) {
    *out << c.statement << " \"" << c.text << "\" " << c.name << " at " << c.x << "," << c.y << " "
         << c.width << "x" << c.height;
}

std::string utf8(const char8_t* text) {
    return reinterpret_cast<const char*>(text);
}

std::string trimmed(std::string_view text) {
    std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t\r") - first + 1));
}

// The comma-separated arguments of a statement, quotes removed from quoted ones.
std::vector<std::string> arguments(std::string_view text) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    for (std::string& field : fields)
        field = trimmed(field);
    return fields;
}

// One line of the dialog's BEGIN..END block.
ScriptControl parseControl(const std::string& line) {
    std::string keyword = line.substr(0, line.find(' '));
    std::vector<std::string> args = arguments(line.substr(keyword.size()));
    // EDITTEXT has no text; CONTROL names its class and style before the position.
    if (keyword == "EDITTEXT")
        args.insert(args.begin(), "");
    std::string statement = keyword;
    std::size_t position = 2;
    if (keyword == "CONTROL") {
        statement += " \"" + args.at(2) + "\" " + args.at(3);
        position = 4;
    }
    if (args.size() > position + 4)
        statement += " " + args.at(position + 4);
    return {statement,
            args.at(1),
            args.at(0),
            std::stoi(args.at(position)),
            std::stoi(args.at(position + 1)),
            std::stoi(args.at(position + 2)),
            std::stoi(args.at(position + 3))};
}

struct ScriptDialog {
    std::vector<int> frame;  // x, y, width, height
    std::string caption;
    std::vector<ScriptControl> controls;
};

ScriptDialog readDialog(const std::string& script, std::string_view name) {
    ScriptDialog dialog;
    std::istringstream lines(script);
    std::string line;
    std::string header = std::string(name) + " DIALOGEX ";
    while (std::getline(lines, line) && !line.starts_with(header)) {
    }
    for (const std::string& field : arguments(line.substr(std::min(line.size(), header.size()))))
        dialog.frame.push_back(std::stoi(field));
    while (std::getline(lines, line) && trimmed(line) != "BEGIN") {
        if (line.starts_with("CAPTION "))
            dialog.caption = arguments(line.substr(8)).at(0);
    }
    while (std::getline(lines, line) && trimmed(line) != "END")
        dialog.controls.push_back(parseControl(trimmed(line)));
    return dialog;
}

// How the resource script writes a control of the table.
ScriptControl scriptControl(const TemplateControl& c) {
    const char* statements[] = {
        "PUSHBUTTON",
        "CONTROL \"Button\" BS_AUTOCHECKBOX | WS_TABSTOP",
        "EDITTEXT ES_AUTOHSCROLL",
        "LTEXT",
        "GROUPBOX",
        "DEFPUSHBUTTON",
    };
    return {statements[c.kind],
            c.id == 0 ? "IDC_STATIC" : c.name,
            utf8(c.text),
            c.x,
            c.y,
            c.width,
            c.height};
}

class DialogResource : public testing::Test {
  protected:
    void SetUp() override {
        std::string script = readFile(TARNEL_RESOURCE_SCRIPT);
        ASSERT_FALSE(script.empty()) << "cannot read " TARNEL_RESOURCE_SCRIPT;
        main = readDialog(script, "IDD_MAIN");
        options = readDialog(script, "IDD_OPTIONS");
    }

    ScriptDialog main;
    ScriptDialog options;
};

std::vector<ScriptControl> scriptControls(std::span<const TemplateControl> table) {
    std::vector<ScriptControl> controls;
    for (const TemplateControl& c : table)
        controls.push_back(scriptControl(c));
    return controls;
}

TEST_F(DialogResource, statesEachTableControlByControlInTabOrder) {
    EXPECT_THAT(main.controls, testing::ElementsAreArray(scriptControls(dialogTemplate())));
    EXPECT_THAT(options.controls, testing::ElementsAreArray(scriptControls(optionsTemplate())));
}

TEST_F(DialogResource, framesEachDialogAsItsTable) {
    EXPECT_THAT(main.frame, testing::ElementsAre(0, 0, kDialogWidthUnits, kDialogHeightUnits));
    EXPECT_EQ(main.caption, utf8(kDialogCaption));
    EXPECT_THAT(options.frame, testing::ElementsAre(0, 0, kOptionsWidthUnits, kOptionsHeightUnits));
    EXPECT_EQ(options.caption, utf8(kOptionsCaption));
}

}  // namespace
