#include "DialogTemplate.h"

#include "resource.h"

namespace {

#define CONTROL(id) id, #id

const TemplateControl kControls[] = {
    {CONTROL(IDC_RUN), TemplateControl::Button, "开始", 271, 220, 50, 14},
    {CONTROL(IDC_PATHUSER), TemplateControl::Edit, "", 65, 7, 280, 14},
    {CONTROL(IDC_BROWSE_DIR), TemplateControl::Button, "指定", 347, 7, 32, 14},
    {CONTROL(IDC_GETPROPS), TemplateControl::CheckBox, "提取属性", 7, 37, 48, 10},
    {CONTROL(IDC_PROPIDS), TemplateControl::Edit, "", 65, 51, 243, 14},
    {CONTROL(IDC_PROPIDS_REF), TemplateControl::Button, "参考..", 312, 51, 32, 14},
    {CONTROL(IDC_COLFULLNAME), TemplateControl::CheckBox, "写入文件全名到第一列", 65, 69, 96, 10},
    {CONTROL(IDC_FILEOUT), TemplateControl::Edit, "", 65, 83, 243, 14},
    {CONTROL(IDC_BROWSE_OUT), TemplateControl::Button, "指定", 312, 83, 32, 14},
    {CONTROL(IDC_OPEN_OUT), TemplateControl::Button, "打开", 347, 83, 32, 14},
    {CONTROL(IDC_RENAME), TemplateControl::CheckBox,
     "用文档标题属性重命名（操作前，请按需要进行备份！）", 7, 122, 216, 10},
    {CONTROL(IDC_ABOUT), TemplateControl::Button, "关于", 329, 220, 50, 14},
    {0, "", TemplateControl::Label, "要处理的目录：", 7, 9, 57, 8},
    {0, "", TemplateControl::Label, "属性序号：", 19, 53, 41, 8},
    {0, "", TemplateControl::Label, "输出文件：", 19, 85, 41, 8},
    {CONTROL(IDC_STATUS), TemplateControl::Label, "就绪", 7, 226, 222, 8},
};

#undef CONTROL

}  // namespace

std::span<const TemplateControl> dialogTemplate() {
    return kControls;
}
