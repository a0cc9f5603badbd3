#pragma once

// The widgets of the properties dialog, shared by the files that build it and that
// validate and write back its values.
#include "figures/dialogs/objectpropertiesdialog.h"
#include "figures/model/objects/crectcom.h"

#include <array>

class QComboBox;
class QSpinBox;
class QLabel;
class QPushButton;

namespace figures {

class CColourPicker;
class TenthsSpinBox;

struct ObjectPropertiesDialog::Controls {
    QLabel* jumpLabel = nullptr;
    QComboBox* jump = nullptr;
    TenthsSpinBox* x = nullptr;
    TenthsSpinBox* y = nullptr;
    TenthsSpinBox* width = nullptr;
    TenthsSpinBox* height = nullptr;
    TenthsSpinBox* angle = nullptr;
    QPushButton* font = nullptr;
    QComboBox* hAlign = nullptr;
    QComboBox* vAlign = nullptr;
    QComboBox* shadowDirection = nullptr;
    QLabel* shadowColourLabel = nullptr;
    CColourPicker* shadowColour = nullptr;
    QLabel* shadowWidthLabel = nullptr;
    TenthsSpinBox* shadowWidth = nullptr;
    CColourPicker* lineColour = nullptr;
    QComboBox* lineType = nullptr;
    TenthsSpinBox* lineWidth = nullptr;
    QComboBox* fillKind = nullptr;
    QLabel* fillColourLabel = nullptr;
    CColourPicker* fillColour = nullptr;
    QPushButton* picture = nullptr;
    QLabel* placementLabel = nullptr;
    QComboBox* placement = nullptr;
    QLabel* picturePreview = nullptr;
    QLabel* foregroundLabel = nullptr;
    CColourPicker* foreground = nullptr;
    QLabel* backgroundLabel = nullptr;
    CColourPicker* background = nullptr;
    QLabel* patternLabel = nullptr;
    QComboBox* pattern = nullptr;
    // Fill kind 4: a gradient's direction (or none), how many colours, the colours.
    QLabel* gradientLabel = nullptr;
    QComboBox* gradient = nullptr;
    QLabel* gradientCountLabel = nullptr;
    QSpinBox* gradientCount = nullptr;
    QLabel* gradientColoursLabel = nullptr;
    QWidget* gradientRow = nullptr;
    std::array<CColourPicker*, CRectCom::kMaxGradientColours> gradientColours{};
    QLabel* gradientPreview = nullptr;
    QPushButton* ok = nullptr;
};

} // namespace figures
