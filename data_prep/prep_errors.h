#pragma once

// The failures of a data preparation run that are its own, in Japanese,
// with the library's own words in parentheses. A failed write or read is
// described by foundation/whole_files.h.

#include <QString>

namespace yubin {

inline QString fileMissingError(const QString& name) {
    return QStringLiteral("ファイルが見つかりません。 (%1)").arg(name);
}

inline QString archiveOpenError(const QString& reason) {
    return QStringLiteral("書庫ファイルを開けません。 (%1)").arg(reason);
}

inline QString archiveFormatError(const QString& reason) {
    return QStringLiteral("書庫ファイルの形式を読み取れません。 (%1)").arg(reason);
}

inline QString archiveDamagedError(const QString& reason) {
    return QStringLiteral("書庫ファイルが壊れています。 (%1)").arg(reason);
}

inline QString runInProgressError() {
    return QStringLiteral(
        "別の郵便番号ﾃﾞｰﾀ処理が実行中です。終わってから、もう一度実行してください。");
}

} // namespace yubin
