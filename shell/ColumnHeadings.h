#pragma once

// A detail column's number and heading; the heading is narrow text in the build's own
// encoding: UTF-8 on Linux, the ANSI code page on Windows (how each build compiles literals).
struct ColumnHeading {
    int number;
    const char* heading;
};

// The detail columns of a Windows 10 shell with their Simplified Chinese headings: the
// fallback list of the Windows reference file (when the shell gives no headings, as under
// Wine) and the headings the Linux reader gives the columns it shares with Windows. Only
// 0–3 are fixed across Windows versions; the rest follow the later Windows 10 numbering.
inline constexpr ColumnHeading kWindowsColumnHeadings[] = {
    {0, "名称"},
    {1, "大小"},
    {2, "类型"},
    {3, "修改日期"},
    {4, "创建日期"},
    {5, "访问日期"},
    {6, "属性"},
    {7, "脱机状态"},
    {8, "可用性"},
    {9, "感知类型"},
    {10, "所有者"},
    {11, "种类"},
    {12, "拍摄日期"},
    {13, "参与创作的艺术家"},
    {14, "唱片集"},
    {15, "年"},
    {16, "流派"},
    {17, "指挥"},
    {18, "标记"},
    {19, "分级"},
    {20, "作者"},
    {21, "标题"},
    {22, "主题"},
    {23, "类别"},
    {24, "备注"},
    {25, "版权"},
    {26, "#"},
    {27, "长度"},
    {28, "比特率"},
    {29, "受保护"},
    {30, "照相机型号"},
    {31, "尺寸"},
    {32, "照相机制造商"},
    {33, "公司"},
    {34, "文件说明"},
    {42, "程序名称"},
    {152, "内容创建日期"},
    {153, "最后打印日期"},
    {154, "最后保存日期"},
    {157, "页数"},
    {159, "总编辑时间"},
    {160, "字数"},
};

// The Windows heading of that column, for tables built at compile time: a number the list
// lacks stops the build.
consteval const char* windowsColumnHeading(int number) {
    for (const ColumnHeading& column : kWindowsColumnHeadings) {
        if (column.number == number)
            return column.heading;
    }
    throw "no Windows column of that number";
}
