#include "barcode/bar_print.h"

#include "foundation/text.h"

namespace yubin {

BAR_Print::BAR_Print(WindowOwner& windowOwner) : LoadableDialog(windowOwner) {
    setObjectName(QStringLiteral("BAR_Print"));
    setWindowTitle(QStringLiteral(" 郵便ｶｽﾀﾏｰﾊﾞｰｺｰﾄﾞ"));
    txtData1 = new QLineEdit(this);
    txtData1->setObjectName(QStringLiteral("txtData1"));
    txtData2 = new QLineEdit(this);
    txtData2->setObjectName(QStringLiteral("txtData2"));
}

void BAR_Print::load() {
    txtData1->setText(text::trimmed(shared.BarZipCode));
}

} // namespace yubin
