#include "app/AboutBox.h"

#include "link/Tr.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("100"));
    setWindowTitle(Tr(kTitle));
    auto *icon = new QLabel(this);
    const QIcon appIcon = QApplication::windowIcon().isNull() ? style()->standardIcon(QStyle::SP_ComputerIcon)
                                                              : QApplication::windowIcon();
    icon->setPixmap(appIcon.pixmap(32, 32));
    auto *version = new QLabel(Tr(kVersionLine).arg(QStringLiteral(CORVANE_VERSION)), this);
    version->setObjectName(QStringLiteral("version"));
    auto *ok = new QPushButton(Tr(QT_TRANSLATE_NOOP("Corvane", "确定")), this);
    ok->setObjectName(QStringLiteral("IDOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(version, 1);
    row->addWidget(ok, 0, Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
}
