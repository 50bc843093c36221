#include "BatchOptions.h"

namespace {

BatchParse usageError(std::string text) {
    return BatchParse{std::nullopt, std::move(text)};
}

}  // namespace

BatchParse parseBatchOptions(const std::vector<std::string>& args) {
    BatchOptions options;
    std::optional<std::string> props, out, folder;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool takesValue = arg == "--props" || arg == "--out";
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
        } else if (arg == "--rename") {
            options.settings.rename = 1;
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
            std::optional<std::string>& value = arg == "--props" ? props : out;
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
                     !options.settings.colfullname;
        return alone ? BatchParse{options, {}} : usageError("--undo 不能与其他选项同用。");
    }
    if (options.preview && !options.settings.rename)
        return usageError("--dry-run 须与 --rename 同用。");
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
    return "用法：tarnel-batch [--props 序号列表 --out 输出文件] [--full-name] [--rename "
           "[--dry-run]] 目录\n"
           "      tarnel-batch --undo [改名记录]\n"
           "\n"
           "处理目录（不含子目录）中扩展名为 doc 或 docx 的文件，与对话框中的“执行”相同。\n"
           "\n"
           "  --props 列表  要提取的属性序号，以逗号分隔（如 0,20,21），须与 --out 同用\n"
           "  --out 文件    CSV 输出文件，每个文件一行，首行为标题\n"
           "  --full-name   第一列为文件的完整路径\n"
           "  --rename      将每个文件改名为其标题，每次改名记入用户设置目录中的改名记录\n"
           "  --dry-run     预览：逐个列出文件将改成的名称或保留原名的原因，不改动任何文件，\n"
           "                也不写输出文件\n"
           "  --undo [记录] 撤销一次任务的改名（不指定记录时为最近一次）：仍是原文件且仍用\n"
           "                新名的改回原名，从不覆盖文件；全部改回时退出码为 0，否则为 1\n"
           "  --help        显示本说明\n"
           "\n"
           "至少须选择一个动作：--props/--out 或 --rename。进度写到标准错误，结束时在标准输出\n"
           "写出“执行完成！共 N 个文件。”。不读取也不保存对话框的设置。\n"
           "\n"
           "退出码：0 成功；1 检查未通过或任务报告了错误；2 命令行用法错误。\n";
}
