#pragma once

#include "foundation/cli.h"

namespace yubin {

// yubin-cli labels FILE [--layout 12|21|24|CUSTOM] [--size 1|2|3]
// [--start N] [--pdf OUT.pdf] [--report OUT.csv] [--skip-unresolved]
//
//   --layout           the sheet: 12, 21 or 24 labels of A4 (12 unless
//                      given), or COLSxROWS:WIDTHxHEIGHT:TOP,LEFT:HPITCH,VPITCH
//                      in millimetres
//   --size             the customer barcode's code size: 1, 2, 3 for 8, 10,
//                      11.5 pt (2 unless given)
//   --start            the first label used on the first sheet, 1-based
//   --pdf              the sheets as a PDF of A4 pages
//   --report           every row's status and reason as CSV
//   --skip-unresolved  leave rows in error out instead of printing them
//                      without a barcode
//
// Prints one line of counts. Exit 0 when every row is ok, 1 when a row has
// a warning or an error or the file cannot be used, 2 on a misuse (options,
// a layout that does not fit A4 or cannot hold the barcode).
int runLabelsVerb(const CliRequest& request);

inline const VerbOptions LabelsVerbOptions{{QStringLiteral("layout"), QStringLiteral("size"),
                                            QStringLiteral("start"), QStringLiteral("pdf"),
                                            QStringLiteral("report")},
                                           {QStringLiteral("skip-unresolved")}};

// The labels verb draws text, which takes Qt's fonts and so a
// QGuiApplication; true when the arguments ask for it.
bool cliDrawsText(int argc, char** argv);

} // namespace yubin
