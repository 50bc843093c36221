#include "BatchOptions.h"

#include <variant>

#include "DocumentTypes.h"

namespace {

BatchParse usageError(std::string text) {
    return BatchParse{std::nullopt, std::move(text)};
}

}  // namespace

BatchParse parseBatchOptions(const std::vector<std::string>& args) {
    BatchOptions options;
    std::optional<std::string> props, out, nameTemplate, types, folder;
    bool optionsEnd = false;
    // An option that only changes how renames name documents, given without --rename.
    std::optional<std::string> renameOnly;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool takesValue =
            arg == "--props" || arg == "--out" || arg == "--name-template" || arg == "--types";
        if (optionsEnd || arg.empty() || arg[0] != '-' || arg == "-") {
            if (folder)
                return usageError("只能指定一个目录：" + arg);
            folder = arg;
        } else if (arg == "--") {
            optionsEnd = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--full-name") {
            options.settings.colfullname = 1;
        } else if (arg == "--subfolders") {
            options.settings.subfolders = 1;
        } else if (arg == "--rename") {
            options.settings.rename = 1;
        } else if (arg == "--text-title") {
            options.settings.texttitle = 1;
            renameOnly = arg;
        } else if (arg == "--fix-names") {
            options.settings.fixnames = 1;
            renameOnly = arg;
        } else if (arg == "--number-duplicates") {
            options.settings.numberdups = 1;
            renameOnly = arg;
        } else if (arg == "--dry-run") {
            options.preview = true;
        } else if (arg == "--undo") {
            options.undo = true;
            // The journal is optional: the next word, unless it is an option. An empty
            // word (a script's failed look-up) is no request for the newest.
            if (i + 1 < args.size() && args[i + 1].empty())
                return usageError("--undo 的改名记录不能为空。");
            if (i + 1 < args.size() && !args[i + 1].starts_with("-"))
                options.journal = args[++i];
        } else if (takesValue) {
            if (i + 1 == args.size())
                return usageError("选项缺少参数：" + arg);
            std::optional<std::string>& value = arg == "--props"   ? props
                                                : arg == "--out"   ? out
                                                : arg == "--types" ? types
                                                                   : nameTemplate;
            // Keeping only the last of two would hide a script's slip.
            if (value)
                return usageError("选项只能指定一次：" + arg);
            value = args[++i];
        } else {
            return usageError("未知选项：" + arg);
        }
    }
    if (options.help)
        return BatchParse{options, {}};
    if (options.undo) {
        bool alone = !folder && !props && !out && !options.preview && !options.settings.rename &&
                     !options.settings.colfullname && !options.settings.subfolders && !renameOnly &&
                     !nameTemplate;
        return alone ? BatchParse{options, {}} : usageError("--undo 不能与其他选项同用。");
    }
    if (options.preview && !options.settings.rename)
        return usageError("--dry-run 须与 --rename 同用。");
    if (nameTemplate) {
        // An empty word is a script's failed look-up, not a template.
        if (nameTemplate->empty())
            return usageError("--name-template 的模板不能为空。");
        options.settings.nametemplate = *nameTemplate;
        renameOnly = "--name-template";
    }
    if (renameOnly && !options.settings.rename)
        return usageError(*renameOnly + " 须与 --rename 同用。");
    if (types) {
        std::variant<DocumentTypes, std::string> parsed = DocumentTypes::parse(*types);
        if (const std::string* refusal = std::get_if<std::string>(&parsed))
            return usageError(*refusal);
        options.settings.doctypes = std::get<DocumentTypes>(parsed).text();
    }
    if (props.has_value() != out.has_value())
        return usageError("--props 与 --out 须同时指定。");
    if (!folder)
        return usageError("缺少要处理的目录。");
    options.settings.pathuser = *folder;
    if (props) {
        options.settings.getprops = 1;
        options.settings.propids = *props;
        options.settings.fileout = *out;
    }
    return BatchParse{options, {}};
}

std::string batchUsage() {
    return "用法：tarnel-batch [--props 序号列表 --out 输出文件] [--full-name] [--subfolders]\n"
           "                   [--types 类型列表]\n"
           "                   [--rename [--dry-run] [--text-title] [--fix-names]\n"
           "                    [--number-duplicates] [--name-template 模板]] 目录\n"
           "      tarnel-batch --undo [改名记录]\n"
           "\n"
           "处理目录中扩展名为 doc 或 docx（或 --types 所列）的文件，与对话框中的“执行”相同；\n"
           "Word 与 WPS 打开文档时留下的“~$”开头的小文件不是文档，不计入也不改名。\n"
           "\n"
           "  --props 列表  要提取的属性序号，以逗号分隔（如 0,20,21），须与 --out 同用\n"
           "  --out 文件    CSV 输出文件，每个文件一行，首行为标题\n"
           "  --full-name   第一列为文件的完整路径\n"
           "  --subfolders  也处理各级子目录：先处理目录中的文件，再按名称顺序逐个处理子目录；\n"
           "                不进入符号链接、目录联接、另一设备的挂载点、隐藏目录和回收站等\n"
           "                系统目录，未能处理的子目录在结束时列出；改名只在文件所在目录内进行\n"
           "  --types 列表  要处理的文件扩展名，以逗号分隔，默认为 doc,docx；可用的有 doc dot\n"
           "                docx docm dotx dotm wps wpt xls xlsx xlsm et ett ppt pptx pptm dps "
           "dpt\n"
           "  --rename      将每个文件改名为其标题，每次改名记入用户设置目录中的改名记录\n"
           "  --dry-run     预览：逐个列出文件将改成的名称或保留原名的原因，不改动任何文件，\n"
           "                也不写输出文件\n"
           "  --text-title  标题为空或是“文档1”“Untitled”之类的占位标题时，取正文中第一个\n"
           "                含文字的段落（最多 64 个字）作新名\n"
           "  --fix-names   文件名不能含的字符换成全角字符（如 ：？／），去掉控制字符和首尾\n"
           "                空格、末尾的点，设备名后加“_”，过长的名称截短，而不是保留原名\n"
           "  --number-duplicates\n"
           "                新名已被其他文件或本次先改名的文件占用时，在扩展名前加上第一个\n"
           "                未被占用的“ (2)”“ (3)”……\n"
           "  --name-template 模板\n"
           "                用花括号中的属性序号组成新名，默认为 {21}（标题）；如“{20} - {21}”\n"
           "                为“作者 - 标题”，为空的属性连同其两侧的分隔符一起省去\n"
           "  --undo [记录] 撤销一次任务的改名（不指定记录时为最近一次）：仍是原文件且仍用\n"
           "                新名的改回原名，从不覆盖文件；全部改回时退出码为 0，否则为 1\n"
           "  --help        显示本说明\n"
           "\n"
           "--text-title、--fix-names、--number-duplicates 与 --name-template 只改变新名的\n"
           "取法，须与 --rename 同用，预览（--dry-run）给出的新名与实际改名相同。\n"
           "至少须选择一个动作：--props/--out 或 --rename。进度写到标准错误，结束时在标准输出\n"
           "写出“执行完成！共 N 个文件。”。不读取也不保存对话框的设置。\n"
           "\n"
           "退出码：0 成功；1 检查未通过或任务报告了错误；2 命令行用法错误。\n";
}
