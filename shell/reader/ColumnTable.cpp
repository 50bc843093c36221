#include "ColumnTable.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr Column kColumns[] = {
    {0, "名称", ColumnField::name},
    {1, "大小", ColumnField::size},
    {2, "类型", ColumnField::itemType},
    {3, "修改日期", ColumnField::modified},
    {4, "创建日期", ColumnField::created},
    {5, "访问日期", ColumnField::accessed},
    {6, "属性", ColumnField::attributes},
    {9, "感知类型", ColumnField::perceivedType},
    {10, "所有者", ColumnField::owner},
    {11, "种类", ColumnField::kind},
    {18, "标记", ColumnField::keywords},
    {20, "作者", ColumnField::authors},
    {21, "标题", ColumnField::title},
    {22, "主题", ColumnField::subject},
    {23, "类别", ColumnField::category},
    {24, "备注", ColumnField::comments},
    {25, "版权", ColumnField::copyright},
    {33, "公司", ColumnField::company},
    {42, "程序名称", ColumnField::application},
    {152, "内容创建日期", ColumnField::contentCreated},
    {153, "最后打印日期", ColumnField::lastPrinted},
    {154, "最后保存日期", ColumnField::lastSaved},
    {157, "页数", ColumnField::pages},
    {159, "总编辑时间", ColumnField::editingTime},
    {160, "字数", ColumnField::words},
    {400, "最后一次保存者", ColumnField::lastAuthor},
    {401, "修订号", ColumnField::revision},
    {402, "模板", ColumnField::templateName},
    {403, "字符数", ColumnField::characters},
    {404, "经理", ColumnField::manager},
};

static_assert(std::is_sorted(std::begin(kColumns), std::end(kColumns),
                             [](const Column& a, const Column& b) { return a.number < b.number; }),
              "findColumn searches the table by number");

}  // namespace

std::span<const Column> columnTable() {
    return kColumns;
}

const Column* findColumn(int number) {
    const auto* found =
        std::lower_bound(std::begin(kColumns), std::end(kColumns), number,
                         [](const Column& column, int wanted) { return column.number < wanted; });
    if (found == std::end(kColumns) || found->number != number)
        return nullptr;
    return found;
}
