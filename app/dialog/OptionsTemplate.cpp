#include "OptionsTemplate.h"

#include "resource.h"

namespace {

#define CONTROL(id) id, #id

// The group boxes come first so that every front-end draws them beneath their controls.
const TemplateControl kControls[] = {
    {0, "", TemplateControl::GroupBox, u8"查找", 7, 7, 246, 78},
    {0, "", TemplateControl::GroupBox, u8"重命名", 7, 91, 246, 84},
    {CONTROL(IDC_OPT_SUBFOLDERS), TemplateControl::CheckBox, u8"包含子目录", 15, 20, 180, 10},
    {CONTROL(IDC_OPT_WORD), TemplateControl::CheckBox, u8"Word 文档（doc docx dot docm dotx dotm）",
     15, 34, 220, 10},
    {CONTROL(IDC_OPT_WPS), TemplateControl::CheckBox, u8"WPS 文字（wps wpt）", 15, 46, 220, 10},
    {CONTROL(IDC_OPT_SHEETS), TemplateControl::CheckBox, u8"表格（xls xlsx xlsm et ett）", 15, 58,
     220, 10},
    {CONTROL(IDC_OPT_SLIDES), TemplateControl::CheckBox, u8"演示（ppt pptx pptm dps dpt）", 15, 70,
     220, 10},
    {CONTROL(IDC_OPT_TEXTTITLE), TemplateControl::CheckBox, u8"标题为空时用正文第一段", 15, 104,
     220, 10},
    {CONTROL(IDC_OPT_FIXNAMES), TemplateControl::CheckBox, u8"替换文件名中不能用的字符", 15, 117,
     220, 10},
    {CONTROL(IDC_OPT_NUMBERDUPS), TemplateControl::CheckBox, u8"重名时加序号", 15, 130, 220, 10},
    {0, "", TemplateControl::Label, u8"文件名模板：", 15, 146, 50, 8},
    {CONTROL(IDC_OPT_TEMPLATE), TemplateControl::Edit, u8"", 67, 144, 178, 14},
    {0, "", TemplateControl::Label, u8"花括号里是属性序号，如 {20} - {21} = 作者 - 标题", 15, 161,
     230, 8},
    {CONTROL(IDOK), TemplateControl::DefaultButton, u8"确定", 147, 182, 50, 14},
    {CONTROL(IDCANCEL), TemplateControl::Button, u8"取消", 203, 182, 50, 14},
};

#undef CONTROL

}  // namespace

std::span<const TemplateControl> optionsTemplate() {
    return kControls;
}
