#include "JobSettings.h"

#include "CCore.h"
#include "DocumentTypes.h"
#include "NameTemplate.h"

JobSettings loadJobSettings(CCore& core) {
    JobSettings settings;
    settings.pathuser = core.getConfigStr("pathuser");
    settings.propids = core.getConfigStr("propids");
    settings.fileout = core.getConfigStr("fileout");
    settings.getprops = core.getConfigB("getprops");
    settings.colfullname = core.getConfigB("colfullname");
    settings.rename = core.getConfigB("rename");
    settings.subfolders = core.getConfigB("subfolders");
    settings.texttitle = core.getConfigB("texttitle");
    settings.fixnames = core.getConfigB("fixnames");
    settings.numberdups = core.getConfigB("numberdups");
    // The store tells no missing key from an empty value, and an empty template names nothing.
    if (std::string nameTemplate = core.getConfigStr("nametemplate"); !nameTemplate.empty())
        settings.nametemplate = nameTemplate;
    if (std::string types = core.getConfigStr("doctypes"); !types.empty())
        settings.doctypes = types;
    return settings;
}

void saveJobSettings(CCore& core, const JobSettings& settings) {
    core.saveConfigStr("pathuser", settings.pathuser);
    core.saveConfigStr("propids", settings.propids);
    core.saveConfigStr("fileout", settings.fileout);
    core.saveConfigB("getprops", settings.getprops);
    core.saveConfigB("colfullname", settings.colfullname);
    core.saveConfigB("rename", settings.rename);
    core.saveConfigB("subfolders", settings.subfolders);
    core.saveConfigB("texttitle", settings.texttitle);
    core.saveConfigB("fixnames", settings.fixnames);
    core.saveConfigB("numberdups", settings.numberdups);
    core.saveConfigStr("nametemplate", settings.nametemplate);
    core.saveConfigStr("doctypes", settings.doctypes);
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
