#include "About.h"
#include "TileIcons.h"
#include "shell/Product.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmAbout::TfrmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrmAbout"));
    setWindowTitle(QStringLiteral("关于"));
    setStyleSheet(QStringLiteral("TfrmAbout { background: #ffffff; }"
                                 "QLabel#aboutTitle { font-size: 20px; font-weight: bold; color: #1f2933; }"
                                 "QLabel#aboutVersion { color: #3b4a5c; font-size: 13px; }"
                                 "QLabel#aboutNotice { color: #6b7785; font-size: 12px; }"));

    auto *logo = new QLabel(this);
    logo->setPixmap(TileIcon(QStringLiteral("Q"), QColor(0x2f, 0x80, 0xed), 72));
    logo->setAlignment(Qt::AlignTop);

    auto *title = new QLabel(ProductTitle(), this);
    title->setObjectName(QStringLiteral("aboutTitle"));
    auto *version = new QLabel(QStringLiteral("编译版本：") + ProductVersion(), this);
    version->setObjectName(QStringLiteral("aboutVersion"));
    auto *notice = new QLabel(QStringLiteral("本软件受著作权法保护。未经许可，不得复制、修改或传播本软件的全部或部分内容。"), this);
    notice->setObjectName(QStringLiteral("aboutNotice"));
    notice->setWordWrap(true);

    auto *ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    ok->setMinimumWidth(88);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(8);
    texts->addWidget(title);
    texts->addWidget(version);
    texts->addSpacing(6);
    texts->addWidget(notice);
    texts->addStretch(1);

    auto *top = new QHBoxLayout;
    top->setSpacing(20);
    top->addWidget(logo);
    top->addLayout(texts, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 26, 24, 18);
    layout->setSpacing(18);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setFixedWidth(460);
}
