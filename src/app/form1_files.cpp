// 保存 and 读取: the mark list to a file and back.

#include <string>
#include <vector>

#include "app/form1.h"
#include "marks/mark_file.h"

namespace morvane {

namespace {

const std::u16string kTitle = u"提示";

std::u16string Quoted(const std::u16string& path)
{
    return u"“" + path + u"”";
}

std::u16string Count_Text(std::size_t count)
{
    const std::string digits = std::to_string(count);
    return std::u16string(digits.begin(), digits.end());
}

} // namespace

void Form1::C_Save_Click()
{
    const std::optional<std::u16string> chosen = ui_.window.ChooseSavePath();
    if (!chosen) return;

    // The dialog has asked about the chosen name only; a different target
    // that exists is not replaced without asking about it too.
    const std::u16string target = Save_Name_M::Target_Name(*chosen);
    if (target != *chosen && ui_.files.Exists(target) &&
        !ui_.window.AskYesNo(Quoted(target) + u"已存在。\r\n要替换它吗？", kTitle))
        return;

    const std::string bytes = Get_Content_M::Encode_Lines(ui_.List1.Entries(), ui_.code_page);
    const std::u16string error = ui_.files.WriteReplacing(target, bytes);
    if (!error.empty())
        ui_.window.ShowInfo(u"无法保存记录文件" + Quoted(target) + u"：\r\n" + error, kTitle);
}

void Form1::C_Load_Click()
{
    const std::optional<std::u16string> path = ui_.window.ChooseOpenPath();
    if (!path) return;

    // The whole file is read before the list is touched, so a file that
    // cannot be read leaves the user's list as it was.
    const Files::ReadResult read = ui_.files.ReadAll(*path);
    if (!read.ok) {
        ui_.window.ShowInfo(u"无法读取记录文件" + Quoted(*path) + u"：\r\n" + read.error, kTitle);
        return;
    }

    std::vector<std::u16string> lines = Get_Content_M::Decode_Lines(read.bytes, ui_.code_page);
    const std::size_t in_file = lines.size();
    if (in_file > Get_Content_M::kMaxEntries) lines.resize(Get_Content_M::kMaxEntries);

    // sel_Index stays as it was; nothing is selected until the next click.
    ui_.List1.Assign(lines);
    Show_Count();
    Measure_Extent(lines);

    if (in_file > Get_Content_M::kMaxEntries) {
        const std::u16string limit = Count_Text(Get_Content_M::kMaxEntries);
        ui_.window.ShowInfo(Quoted(*path) + u"有 " + Count_Text(in_file) +
                                u" 条记录，列表最多容纳 " + limit + u" 条，只读取了前 " + limit + u" 条。",
                            kTitle);
    }
}

} // namespace morvane
