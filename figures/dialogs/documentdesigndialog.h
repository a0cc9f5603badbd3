#pragma once

#include <QByteArray>
#include <QDialog>

class QPushButton;

namespace figures {

class CViewWnd;
class FigureWindow;
class ShapePicker;

// Edits the whole document content of a drawing control: a full drawing control of its
// own, working on a copy of the edited control's document, with the shape picker beside
// it for creating preset shapes with the mouse and a button for the view manager.
//
// The edited control is not touched while the dialog is open. After OK the caller copies
// Content() and ResultView() back (FigureWindow::EditDocumentContent does); cancelling
// just drops the copy.
class DocumentDesignDialog : public QDialog {
    Q_OBJECT

public:
    // The copy starts from the edited control's document, on the view current there.
    explicit DocumentDesignDialog(const FigureWindow& edited, QWidget* parent = nullptr);
    ~DocumentDesignDialog() override;

    // The document as edited in the dialog, in the document byte format.
    QByteArray Content() const;
    // The view current in the dialog, -1 when none is.
    int ResultView() const;

    FigureWindow* Editor() const { return editor_; }
    ShapePicker* Picker() const { return picker_; }
    QPushButton* ViewManagerButton() const { return viewManager_; }

private:
    CViewWnd& EditorView() const;
    void OpenViewManager();

    ShapePicker* picker_;
    FigureWindow* editor_;
    QPushButton* viewManager_;
};

} // namespace figures
