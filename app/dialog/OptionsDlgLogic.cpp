#include "OptionsDlgLogic.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "DialogState.h"
#include "DocumentTypes.h"
#include "NameTemplate.h"
#include "resource.h"

namespace {

// A box for a group of kinds; ticked when the list holds any of its extensions.
struct KindBox {
    int id;
    const char* extensions;  // space-separated
};

constexpr KindBox kKindBoxes[] = {
    {IDC_OPT_WORD, "doc docx dot docm dotx dotm"},
    {IDC_OPT_WPS, "wps wpt"},
    {IDC_OPT_SHEETS, "xls xlsx xlsm et ett"},
    {IDC_OPT_SLIDES, "ppt pptx pptm dps dpt"},
};

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; std::getline(in, word, separator);)
        words.push_back(word);
    return words;
}

bool contains(const std::vector<std::string>& words, const std::string& word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

// The extensions of a kind list, in its order; the default kinds for a list the job refuses.
std::vector<std::string> listedTypes(const std::string& list) {
    auto parsed = DocumentTypes::parse(list);
    auto* types = std::get_if<DocumentTypes>(&parsed);
    return split(types ? types->text() : DocumentTypes().text(), ',');
}

// The box's extensions that the list holds.
std::vector<std::string> listedOf(const KindBox& box, const std::vector<std::string>& listed) {
    std::vector<std::string> found;
    for (const std::string& extension : split(box.extensions, ' ')) {
        if (contains(listed, extension))
            found.push_back(extension);
    }
    return found;
}

struct FlagControl {
    int id;
    std::int32_t JobSettings::*field;
};

constexpr FlagControl kFlagControls[] = {
    {IDC_OPT_SUBFOLDERS, &JobSettings::subfolders},
    {IDC_OPT_TEXTTITLE, &JobSettings::texttitle},
    {IDC_OPT_FIXNAMES, &JobSettings::fixnames},
    {IDC_OPT_NUMBERDUPS, &JobSettings::numberdups},
};

}  // namespace

void COptionsDlgLogic::initDialog() {
    JobSettings saved = loadJobSettings(m_core);
    for (auto [id, field] : kFlagControls)
        m_view.setCheckState(id, saved.*field ? 1 : 0);
    m_shownTypes = saved.doctypes;
    std::vector<std::string> listed = listedTypes(m_shownTypes);
    for (const KindBox& box : kKindBoxes)
        m_view.setCheckState(box.id, listedOf(box, listed).empty() ? 0 : 1);
    m_view.setText(IDC_OPT_TEMPLATE, saved.nametemplate);
}

bool COptionsDlgLogic::accept() {
    // A box that stays ticked keeps the extensions the user chose; a newly ticked one brings
    // all of its kind.
    std::vector<std::string> shown = listedTypes(m_shownTypes);
    std::string types;
    for (const KindBox& box : kKindBoxes) {
        if (!m_view.checkState(box.id))
            continue;
        std::vector<std::string> kept = listedOf(box, shown);
        for (const std::string& extension : kept.empty() ? split(box.extensions, ' ') : kept)
            types += (types.empty() ? "" : ",") + extension;
    }
    if (types.empty()) {
        m_view.warn("至少要选择一种文档类型！");
        m_view.focus(IDC_OPT_WORD);
        return false;
    }
    std::string nameTemplate = m_view.text(IDC_OPT_TEMPLATE);
    auto parsed = NameTemplate::parse(nameTemplate);
    if (auto* refusal = std::get_if<std::string>(&parsed)) {
        m_view.warn(*refusal);
        m_view.focus(IDC_OPT_TEMPLATE);
        return false;
    }
    // The other settings are saved as the file holds them: the main dialog saves its own.
    JobSettings saved = loadJobSettings(m_core);
    JobSettings& shownByDialog = processJobSettings();
    for (JobSettings* settings : {&saved, &shownByDialog}) {
        for (auto [id, field] : kFlagControls)
            settings->*field = m_view.checkState(id);
        settings->doctypes = types;
        settings->nametemplate = nameTemplate;
    }
    saveJobSettings(m_core, saved);
    return true;
}
