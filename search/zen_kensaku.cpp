#include "search/zen_kensaku.h"

namespace yubin {

Zen_Kensaku::Zen_Kensaku(WindowOwner& windowOwner) : LoadableDialog(windowOwner) {
    setObjectName(QStringLiteral("Zen_Kensaku"));
    setWindowTitle(QStringLiteral("〒　郵便番号検索 (Q&O)　   全ﾃﾞｰﾀ検索"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
}

} // namespace yubin
