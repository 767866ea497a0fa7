#pragma once

#include "app/Version.h"

#include <QDialog>

// "关于 Corvane": the application's icon, its version line and an OK button.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    static constexpr char kTitle[] = QT_TRANSLATE_NOOP("Corvane", "关于 Corvane");
    static constexpr char kVersionLine[] = QT_TRANSLATE_NOOP("Corvane", "Corvane，版本 %1"); // %1: the version

    explicit AboutBox(QWidget *parent = nullptr);
};
