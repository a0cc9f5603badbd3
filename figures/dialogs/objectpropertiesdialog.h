#pragma once

#include "figures/render/text/logfont.h"

#include <QDialog>

#include <cstdint>
#include <optional>

class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;

namespace figures {

class CColourPicker;
class CPic;
class CRectCom;
class Document;
class TenthsSpinBox;

// The properties of one rectangle-based object (single mode: position, size, angle, text
// font and alignment, shadow, line, fill and jump target), or the position, size, angle
// and font shared out to several objects (multi mode, edited on a fresh template object).
//
// Nothing is written before OK. OK validates every edit, enabled or not, and on success
// writes back what differs: to the object in single mode, to the template in multi mode,
// where the width and height go into the template's right and bottom fields as sizes.
// ChangedFlags then says what was written; the caller applies frames and repaints.
class ObjectPropertiesDialog : public QDialog {
    Q_OBJECT

public:
    enum ChangedFlag : uint32_t {
        kLineChanged = 0x001,
        kShadowChanged = 0x002,
        kFillChanged = 0x004,
        kAngleChanged = 0x008,
        kXChanged = 0x010,
        kYChanged = 0x020,
        kWidthChanged = 0x040,
        kHeightChanged = 0x080,
        kFontChanged = 0x200,
        kAlignmentChanged = 0x400,
        kJumpChanged = 0x800,
    };

    // document gives the jump-target list; without one the jump target is not offered.
    ObjectPropertiesDialog(CRectCom& object, bool multi, const Document* document,
                           QWidget* parent = nullptr);
    ~ObjectPropertiesDialog() override;

    uint32_t ChangedFlags() const { return changed_; }

    // The first complaint about the edits as they stand, in the order users see them;
    // nothing when every value is acceptable.
    std::optional<QString> Validate() const;
    // The picture file the fill is to load (empty when none was chosen).
    QString PicturePath() const { return picturePath_; }
    // Takes a picture file for the fill when it loads as a picture of some size;
    // otherwise reports it and keeps the previous choice.
    bool ChoosePicture(const QString& path);
    // The font and text colour the font button would give (as the font dialog returns).
    void SetChosenFont(const LogFont& font, uint32_t textColour);

public slots:
    void accept() override;

private:
    struct Controls;

    void BuildJumpRow();
    void BuildPositionGroup();
    void BuildStyleGroup();
    void BuildButtons();
    void FillLists();
    void LoadValues();
    void DisableByFlags(uint32_t flags);
    void ApplyLineTypeRule();
    void ApplyShadowRule();
    void ApplyFillKindRule();
    void BuildGradientControls(QGridLayout& grid, int row);
    void LoadGradient();
    void ApplyGradientRule();
    void ShowGradientPreview();
    bool OffersGradient() const;
    int32_t ChosenGradientMode() const;
    bool GradientDiffers() const;
    void WriteGradient();
    void OpenFontDialog();
    void OpenPictureDialog();
    void ShowError(const QString& text);
    void ShowPreview(const CPic& picture);
    void WriteMulti();
    void WriteSingle();
    void WriteSingleStyles();
    void WriteSingleFill();
    void WriteSingleFrame();

    CRectCom& object_;
    bool multi_;
    const Document* document_;
    uint32_t changed_ = 0;
    LogFont font_;
    uint32_t textColour_ = 0;
    bool fontChanged_ = false;
    QString picturePath_;
    std::unique_ptr<Controls> c_;
};

} // namespace figures
