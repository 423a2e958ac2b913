// Message texts of file errors.
#include "files/FileErrorText.h"

namespace files {

namespace {

const char* Template(FileErrorCause cause) {
    switch (cause) {
    case FileErrorCause::None: return "エラーはありませんでした。";
    case FileErrorCause::Generic: break;
    case FileErrorCause::FileNotFound: return "%1 が見つかりませんでした。";
    case FileErrorCause::BadPath: return "%1 に正しくないパスが含まれています。";
    case FileErrorCause::TooManyOpenFiles: return "開いているファイルが多すぎるため、%1 を開けませんでした。";
    case FileErrorCause::AccessDenied: return "%1 へのアクセスは拒否されました。";
    case FileErrorCause::InvalidFile: return "正しくないファイル ハンドルが %1 に関連付けられていました。";
    case FileErrorCause::RemoveCurrentDir: return "現在のディレクトリ %1 は削除できませんでした。";
    case FileErrorCause::DirectoryFull: return "%1 を作成できませんでした。そのディレクトリはいっぱいです。";
    case FileErrorCause::BadSeek: return "%1 のシークに失敗しました。";
    case FileErrorCause::HardIO: return "%1 へのアクセス中にハードウェア I/O エラーが報告されました。";
    case FileErrorCause::SharingViolation: return "%1 へのアクセス中に共有違反が発生しました。";
    case FileErrorCause::LockViolation: return "%1 へのアクセス中にロック違反が発生しました。";
    case FileErrorCause::DiskFull: return "%1 へのアクセス中にディスクがいっぱいになりました。";
    case FileErrorCause::EndOfFile: return "%1 の末尾以降にアクセスしようとしました。";
    }
    return "%1 へのアクセス中に不明なエラーが発生しました。";
}

}  // namespace

std::string FileErrorText(FileErrorCause cause, const std::string& path) {
    const std::string text = Template(cause);
    std::string out;
    out.reserve(text.size() + path.size());
    size_t from = 0;
    for (size_t at = text.find("%1"); at != std::string::npos; at = text.find("%1", from)) {
        out.append(text, from, at - from);
        out += path;
        from = at + 2;
    }
    out.append(text, from, std::string::npos);
    return out;
}

}  // namespace files
