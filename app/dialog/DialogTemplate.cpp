#include "DialogTemplate.h"

#include "resource.h"

namespace {

#define CONTROL(id) id, #id

const TemplateControl kControls[] = {
    {CONTROL(IDC_RUN), TemplateControl::Button, u8"开始", 271, 220, 50, 14},
    {CONTROL(IDC_PATHUSER), TemplateControl::Edit, u8"", 65, 7, 280, 14},
    {CONTROL(IDC_BROWSE_DIR), TemplateControl::Button, u8"指定", 347, 7, 32, 14},
    {CONTROL(IDC_GETPROPS), TemplateControl::CheckBox, u8"提取属性", 7, 37, 48, 10},
    {CONTROL(IDC_PROPIDS), TemplateControl::Edit, u8"", 65, 51, 243, 14},
    {CONTROL(IDC_PROPIDS_REF), TemplateControl::Button, u8"参考..", 312, 51, 32, 14},
    {CONTROL(IDC_COLFULLNAME), TemplateControl::CheckBox, u8"写入文件全名到第一列", 65, 69, 96, 10},
    {CONTROL(IDC_FILEOUT), TemplateControl::Edit, u8"", 65, 83, 243, 14},
    {CONTROL(IDC_BROWSE_OUT), TemplateControl::Button, u8"指定", 312, 83, 32, 14},
    {CONTROL(IDC_OPEN_OUT), TemplateControl::Button, u8"打开", 347, 83, 32, 14},
    {CONTROL(IDC_RENAME), TemplateControl::CheckBox,
     u8"用文档标题属性重命名（操作前，请按需要进行备份！）", 7, 122, 216, 10},
    {CONTROL(IDC_ABOUT), TemplateControl::Button, u8"关于", 329, 220, 50, 14},
    {0, "", TemplateControl::Label, u8"要处理的目录：", 7, 9, 57, 8},
    {0, "", TemplateControl::Label, u8"属性序号：", 19, 53, 41, 8},
    {0, "", TemplateControl::Label, u8"输出文件：", 19, 85, 41, 8},
    {CONTROL(IDC_STATUS), TemplateControl::Label, u8"就绪", 7, 226, 222, 8},
};

#undef CONTROL

}  // namespace

std::span<const TemplateControl> dialogTemplate() {
    return kControls;
}
