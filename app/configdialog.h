#pragma once

#include <QDialog>

#include <cstdint>

class QComboBox;
class QPushButton;
class QRadioButton;

namespace figures {
class FigureWindow;
}

namespace app {

// The canvas configuration: background colour, border, zoom, scroll bars, text editing
// and popup menu. It opens with the canvas's colour and border, with "100" as the zoom
// and every option on, whatever the canvas holds; "确定" sets the canvas, writes the
// settings file and reads it back into the canvas, "取消" changes nothing.
class ConfigDialog : public QDialog {
    Q_OBJECT

public:
    ConfigDialog(figures::FigureWindow& canvas, const QString& settingsPath,
                 QWidget* parent = nullptr);

    uint32_t PickedColour() const { return colour_; }
    void SetPickedColour(uint32_t colour);

public slots:
    void accept() override;

private:
    QRadioButton* AddOptionGroup(const char* name, const QString& label, QRect frame);
    void PickColour();

    figures::FigureWindow& canvas_;
    QString settingsPath_;
    uint32_t colour_ = 0; // 0x00BBGGRR
    QPushButton* colourButton_ = nullptr;
    QComboBox* border_ = nullptr;
    QComboBox* zoom_ = nullptr;
    QRadioButton* scrollYes_ = nullptr;
    QRadioButton* editingYes_ = nullptr;
    QRadioButton* popupYes_ = nullptr;
};

} // namespace app
