#include "data_prep/data_syori.h"

namespace yubin {

Data_Syori::Data_Syori(WindowOwner& windowOwner)
    : LoadableDialog(windowOwner), work(WorkFolders::standard()) {
    setObjectName(QStringLiteral("Data_Syori"));
    setWindowTitle(QStringLiteral(" 郵便番号ﾃﾞｰﾀ処理"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
}

void Data_Syori::load() {
    Label1->clear();
    work.create();
}

void Data_Syori::unload() {
    work.removeEmpty();
}

} // namespace yubin
