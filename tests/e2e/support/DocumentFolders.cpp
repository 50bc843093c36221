#include "DocumentFolders.h"

#include <windows.h>

#include <functional>

namespace {

struct Document {
    const char* name;
    const char* renamedTo;  // nullptr: the document keeps its name
    const char* fields;     // its CSV fields after the full name
};

const Document kDocuments[] = {
    {"报告.doc", "年度报告.doc", "报告.doc,年度报告,\"甲,乙\"\"丙\""},
    {"会议.docx", "会议纪要.docx", "会议.docx,会议纪要,"},
    {"docx", "无扩展名.docx", "docx,无扩展名,\"多行\r\n说明\""},
    {"逃逸.doc", nullptr, "逃逸.doc,..\\逃出,2026/12/7 12:47"},
    {"生僻.doc", nullptr, "生僻.doc,?字,?"},
    {"重名.doc", nullptr, "重名.doc,已有,-12.5"},
    {"已有.doc", nullptr, "已有.doc,,'=1+1"},
};
const char* const kSkippedFiles[] = {"大写.DOCX", "备份.docx.bak"};
const char* const kSubfolder = "子目录.doc";
const char* const kFolderMark = "<folder>";

void answerTitledDocuments(StandInFiles& shell) {
    shell.heading(0, L"名称");
    shell.heading(21, L"标题");
    shell.heading(24, L"备注");
    for (const Document& document : kDocuments)
        shell.text(wideFromAnsi(document.name), 0, wideFromAnsi(document.name));
    shell.text(L"报告.doc", 21, L"年度报告");
    shell.text(L"报告.doc", 24, L"甲,乙\"丙");
    shell.falseText(L"会议.docx", 21, L"会议纪要");
    shell.nullText(L"会议.docx", 24);
    shell.text(L"docx", 21, L"无扩展名");
    shell.text(L"docx", 24, L"多行\r\n说明");
    shell.text(L"逃逸.doc", 21, L"..\\逃出");
    shell.text(L"逃逸.doc", 24, L"\u200E2026/12/7 \u200F12:47");
    shell.text(L"生僻.doc", 21, L"\u3400字");
    shell.text(L"生僻.doc", 24, L"\u3400");
    shell.text(L"重名.doc", 21, L"已有");
    shell.text(L"重名.doc", 24, L"-12.5");
    shell.text(L"已有.doc", 24, L"=1+1");
    // Entries the job must not reach, with titles it would rename them to.
    shell.text(L"大写.DOCX", 21, L"不应改名");
    shell.text(L"备份.docx.bak", 21, L"不应改名");
    shell.text(L"子目录.doc", 21, L"不应改名");
}

void forEachEntry(const std::string& folder,
                  const std::function<void(const std::string& name, bool directory)>& visit) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            visit(name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

}  // namespace

std::vector<std::string> listingOrder(const std::string& folder) {
    std::vector<std::string> names;
    forEachEntry(folder, [&](const std::string& name, bool) { names.push_back(name); });
    return names;
}

std::map<std::string, std::string> folderContent(const std::string& folder) {
    std::map<std::string, std::string> content;
    forEachEntry(folder, [&](const std::string& name, bool directory) {
        content[name] = directory ? kFolderMark : readFile(folder + name);
    });
    return content;
}

TitledDocuments::TitledDocuments(StandInFiles& shell) {
    for (const Document& document : kDocuments)
        m_folder.write(document.name, document.name);
    for (const char* name : kSkippedFiles)
        m_folder.write(name, name);
    CreateDirectoryA(m_folder.file(kSubfolder).c_str(), nullptr);
    answerTitledDocuments(shell);
    m_order = listingOrder(path());
}

int TitledDocuments::documentCount() const {
    return static_cast<int>(std::size(kDocuments));
}

std::string TitledDocuments::expectedCsv() const {
    std::string csv = "全文件名,名称,标题,备注\r\n";
    for (const std::string& name : m_order) {
        for (const Document& document : kDocuments) {
            if (name == document.name)
                csv += path() + name + "," + document.fields + "\r\n";
        }
    }
    return csv;
}

std::map<std::string, std::string> TitledDocuments::expectedContent() const {
    std::map<std::string, std::string> content;
    for (const Document& document : kDocuments)
        content[document.renamedTo ? document.renamedTo : document.name] = document.name;
    for (const char* name : kSkippedFiles)
        content[name] = name;
    content[kSubfolder] = kFolderMark;
    return content;
}

FailingDocuments::FailingDocuments(StandInFiles& shell) {
    shell.heading(0, L"名称");
    shell.heading(21, L"标题");
    for (const char* name : {"甲.doc", "乙.doc", "丙.doc"}) {
        m_folder.write(name, name);
        shell.text(wideFromAnsi(name), 0, wideFromAnsi(name));
        shell.text(wideFromAnsi(name), 21, L"标题");
    }
    m_order = listingOrder(path());
    shell.failure(wideFromAnsi(failing()), 21, kFailure, L"文档被锁定");
}

std::string FailingDocuments::expectedCsv() const {
    return "名称,标题\r\n" + m_order[0] + ",标题\r\n";
}
