#pragma once

#include "app/Version.h"

#include <QDialog>

// "关于 Corvane": the application's icon, its version line and an OK button.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    static constexpr char kTitle[] = "关于 Corvane";
    static constexpr char kVersionLine[] = "Corvane，版本 " CORVANE_VERSION;

    explicit AboutBox(QWidget *parent = nullptr);
};
