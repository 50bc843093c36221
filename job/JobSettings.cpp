#include "JobSettings.h"

#include "CCore.h"

JobSettings loadJobSettings(CCore& core) {
    JobSettings settings;
    settings.pathuser = core.getConfigStr("pathuser");
    settings.propids = core.getConfigStr("propids");
    settings.fileout = core.getConfigStr("fileout");
    settings.getprops = core.getConfigB("getprops");
    settings.colfullname = core.getConfigB("colfullname");
    settings.rename = core.getConfigB("rename");
    return settings;
}

void saveJobSettings(CCore& core, const JobSettings& settings) {
    core.saveConfigStr("pathuser", settings.pathuser);
    core.saveConfigStr("propids", settings.propids);
    core.saveConfigStr("fileout", settings.fileout);
    core.saveConfigB("getprops", settings.getprops);
    core.saveConfigB("colfullname", settings.colfullname);
    core.saveConfigB("rename", settings.rename);
}

std::optional<SettingsFailure> validateJobSettings(const JobSettings& settings, CCore& core) {
    if (!core.isPathExist(settings.pathuser)) {
        return SettingsFailure{"要处理的目录不能为空！", SettingsField::Pathuser};
    }
    if (!settings.getprops)
        return std::nullopt;
    if (settings.propids.empty())
        return SettingsFailure{"属性序号不能为空！", SettingsField::Propids};
    if (settings.fileout.empty())
        return SettingsFailure{"输出文件不能为空！", SettingsField::Fileout};
    return std::nullopt;
}

std::optional<SettingsFailure> checkActionRule(const JobSettings& settings) {
    if (!settings.getprops && !settings.rename)
        return SettingsFailure{"没有选择动作！", std::nullopt};
    return std::nullopt;
}
