#include "RowFields.h"

#include "NarrowText.h"

std::vector<std::string> headingFields(const std::vector<int>& columns, bool fullName,
                                       ShellAccess& shell, TextForm form) {
    std::vector<std::string> fields;
    fields.reserve(columns.size() + 1);
    if (fullName) {
        fields.emplace_back(form == TextForm::Utf8
                                ? reinterpret_cast<const char*>(kFullNameHeadingUtf8)
                                : kFullNameHeading);
    }
    for (int column : columns)
        fields.push_back(shell.columnHeading(column, form));
    return fields;
}

std::vector<std::string> dataFields(const std::vector<int>& columns, bool fullName,
                                    const std::string& folder, const std::string& name,
                                    ShellAccess& shell, TextForm form) {
    std::vector<std::string> fields;
    fields.reserve(columns.size() + 1);
    if (fullName) {
        std::string path = folder + name;
        fields.push_back(form == TextForm::Utf8 ? narrow_text::toUtf8(path) : std::move(path));
    }
    for (int column : columns)
        fields.push_back(shell.itemDetail(column, form));
    return fields;
}
