#include "app/file_errors.h"

namespace morvane {
namespace {

std::u16string Number(std::int64_t code)
{
    const std::string digits = std::to_string(code);
    return std::u16string(digits.begin(), digits.end());
}

} // namespace

std::u16string FileErrorText(const FileError& error)
{
    using enum FileError::Kind;
    switch (error.kind) {
    case NotFound: return u"文件不存在";
    case FolderNotFound: return u"文件夹不存在";
    case NoAccess: return u"没有访问权限";
    case InUse: return u"文件正被其他程序使用";
    case DiskFull: return u"磁盘空间不足";
    case WriteProtected: return u"磁盘处于写保护状态";
    case BadName: return u"文件名无效";
    case IsFolder: return u"这是一个文件夹";
    case NotAFile: return u"不是普通文件";
    case DiskError: return u"读取磁盘出错";
    case TooLarge: return u"文件太大";
    case SystemWords: return error.words;
    case SystemError: return u"系统错误 " + Number(error.code) + u"（" + error.words + u"）";
    case WriteFailed: return u"无法写入文件（" + error.words + u"）";
    case UnnamedError: return u"错误代码 " + Number(error.code);
    }
    return error.words;
}

} // namespace morvane
