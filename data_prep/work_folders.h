#pragma once

#include <QString>

namespace yubin {

// The folders the data preparation works in: "TEMP" with "TOFUKEN" (where
// archives are extracted) and "TOFUKEN_LZH" (where the chosen archive is
// copied first). They are per-user and readable by the owner only, so no
// other local user can plant files in them.
struct WorkFolders {
    QString temp;       // ends in "/"
    QString tofuken;    // ends in "/"
    QString tofukenLzh; // ends in "/"

    // Under the per-user cache location.
    static WorkFolders standard();
    static WorkFolders under(const QString& base);

    // Creates the missing folders, owner-only; failures are ignored.
    void create() const;
    // Removes TOFUKEN and TOFUKEN_LZH when they are empty; TEMP stays.
    void removeEmpty() const;
};

} // namespace yubin
