#pragma once

// Where the postal service publishes its postal-code data: the one place of
// the program that holds these addresses. The window's links and the README
// point here. In 2026 the service moved its download pages and archives from
// /zipcode/dl/ to /service/search/zipcode/download/ (the old addresses
// redirect there); the business-office addresses below keep the old form,
// which redirects likewise. LZH archives (/zipcode/dl/kogaki/lzh/) are no
// longer published, though the runs still take them from a user's download
// folder.

#include <QString>

namespace yubin {

inline const QString PostalServiceHost = QStringLiteral("https://www.post.japanpost.jp");

// Pages.
inline const QString DownloadPagePath = QStringLiteral("/service/search/zipcode/download/");
// The address data, one record a line in UTF-8: what the service recommends.
inline const QString AddressPagePath =
    QStringLiteral("/service/search/zipcode/download/utf-zip.html");
// The address data in the classic form (code page 932, long records split).
inline const QString ClassicAddressPagePath =
    QStringLiteral("/service/search/zipcode/download/kogaki-zip.html");
inline const QString OfficePagePath = QStringLiteral("/zipcode/dl/jigyosyo/index-zip.html");

// Archives.
inline const QString NationwideArchivePath =
    QStringLiteral("/service/search/zipcode/download/utf/zip/utf_ken_all.zip");
inline const QString ClassicNationwideArchivePath =
    QStringLiteral("/service/search/zipcode/download/kogaki/zip/ken_all.zip");
inline const QString OfficeArchivePath = QStringLiteral("/zipcode/dl/jigyosyo/zip/jigyosyo.zip");
// Where the LZH archives used to be, for users who still keep them.
inline const QString OldLzhNationwideArchivePath =
    QStringLiteral("/zipcode/dl/kogaki/lzh/ken_all.lzh");

// The monthly difference archives of a month, YYMM as "2603".
inline QString utf8AddedPath(const QString& yymm) {
    return QStringLiteral("/service/search/zipcode/download/utf/zip/utf_add_%1.zip").arg(yymm);
}
inline QString utf8DeletedPath(const QString& yymm) {
    return QStringLiteral("/service/search/zipcode/download/utf/zip/utf_del_%1.zip").arg(yymm);
}
inline QString classicAddedPath(const QString& yymm) {
    return QStringLiteral("/service/search/zipcode/download/kogaki/zip/add_%1.zip").arg(yymm);
}
inline QString classicDeletedPath(const QString& yymm) {
    return QStringLiteral("/service/search/zipcode/download/kogaki/zip/del_%1.zip").arg(yymm);
}
inline QString officeAddedPath(const QString& yymm) {
    return QStringLiteral("/zipcode/dl/jigyosyo/zip/jadd%1.zip").arg(yymm);
}
inline QString officeDeletedPath(const QString& yymm) {
    return QStringLiteral("/zipcode/dl/jigyosyo/zip/jdel%1.zip").arg(yymm);
}

} // namespace yubin
