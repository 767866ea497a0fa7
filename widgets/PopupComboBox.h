#pragma once

#include <QComboBox>

#include <functional>

// A drop-down list that refills itself each time the user opens it (the
// probe and serial port lists follow what is plugged in right now).
class PopupComboBox : public QComboBox
{
public:
    using QComboBox::QComboBox;

    std::function<void()> beforePopup;

    void showPopup() override
    {
        if (beforePopup)
            beforePopup();
        QComboBox::showPopup();
    }
};
