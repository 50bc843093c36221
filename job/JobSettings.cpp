#include "JobSettings.h"

#include <utility>

#include "CCore.h"
#include "DocumentTypes.h"
#include "NameTemplate.h"

namespace {

// The settings file's keys and the fields they hold, in the order they are saved.
using TextField = std::string JobSettings::*;
using FlagField = std::int32_t JobSettings::*;
constexpr std::pair<const char*, TextField> kTexts[] = {{"pathuser", &JobSettings::pathuser},
                                                        {"propids", &JobSettings::propids},
                                                        {"fileout", &JobSettings::fileout}};
constexpr std::pair<const char*, FlagField> kFlags[] = {
    {"getprops", &JobSettings::getprops},    {"colfullname", &JobSettings::colfullname},
    {"rename", &JobSettings::rename},        {"subfolders", &JobSettings::subfolders},
    {"texttitle", &JobSettings::texttitle},  {"fixnames", &JobSettings::fixnames},
    {"numberdups", &JobSettings::numberdups}};
// Texts that keep their default when empty: the store tells no missing key from an empty
// value, and an empty template or kind list names nothing.
constexpr std::pair<const char*, TextField> kTextsWithDefault[] = {
    {"nametemplate", &JobSettings::nametemplate}, {"doctypes", &JobSettings::doctypes}};

}  // namespace

JobSettings loadJobSettings(CCore& core) {
    JobSettings settings;
    for (auto [key, field] : kTexts)
        settings.*field = core.getConfigStr(key);
    for (auto [key, field] : kFlags)
        settings.*field = core.getConfigB(key);
    for (auto [key, field] : kTextsWithDefault) {
        if (std::string text = core.getConfigStr(key); !text.empty())
            settings.*field = std::move(text);
    }
    return settings;
}

void saveJobSettings(CCore& core, const JobSettings& settings) {
    for (auto [key, field] : kTexts)
        core.saveConfigStr(key, settings.*field);
    for (auto [key, field] : kFlags)
        core.saveConfigB(key, settings.*field);
    for (auto [key, field] : kTextsWithDefault)
        core.saveConfigStr(key, settings.*field);
}

std::optional<SettingsFailure> validateJobSettings(const JobSettings& settings, CCore& core) {
    if (!core.isPathExist(settings.pathuser)) {
        return SettingsFailure{"要处理的目录不能为空！", SettingsField::Pathuser};
    }
    if (settings.getprops && settings.propids.empty())
        return SettingsFailure{"属性序号不能为空！", SettingsField::Propids};
    if (settings.getprops && settings.fileout.empty())
        return SettingsFailure{"输出文件不能为空！", SettingsField::Fileout};
    // No control shows the list, so its refusal moves the focus nowhere.
    auto types = DocumentTypes::parse(settings.doctypes);
    if (auto* refusal = std::get_if<std::string>(&types))
        return SettingsFailure{*refusal, std::nullopt};
    // Only a rename uses the template, so a job that only extracts is not held up by it.
    if (settings.rename) {
        auto parsed = NameTemplate::parse(settings.nametemplate);
        if (auto* refusal = std::get_if<std::string>(&parsed))
            return SettingsFailure{*refusal, SettingsField::NameTemplate};
    }
    return std::nullopt;
}

std::optional<SettingsFailure> checkActionRule(const JobSettings& settings) {
    if (!settings.getprops && !settings.rename)
        return SettingsFailure{"没有选择动作！", std::nullopt};
    return std::nullopt;
}
