#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;

namespace figures {

class CViewWnd;

// The views of a view window's document: the list in document order, the selected
// view's name (renamed as it is typed), adding a view with the next free default name,
// deleting one after asking, and going to one.
//
// The view window never keeps showing a view deleted here: deleting the shown view
// leaves the window without a view, as removing the document's current view does.
class ViewManagerDialog : public QDialog {
    Q_OBJECT

public:
    explicit ViewManagerDialog(CViewWnd& view, QWidget* parent = nullptr);

    QListWidget* List() const { return list_; }
    QLineEdit* NameEdit() const { return name_; }

    void AddView();
    // Asks first; false when the user said no or nothing is selected.
    bool DeleteSelected();
    // Shows the selected view in the view window and closes; nothing without a selection.
    void GoToSelected();
    // Whether a view was added, renamed or deleted while the dialog was open. The document
    // has no way to tell the window's host, so whoever opened the dialog passes it on.
    bool EditedDocument() const { return edited_; }

private:
    void Refresh();
    void SelectionChanged();
    void Rename(const QString& name);

    CViewWnd& view_;
    QLineEdit* name_;
    QListWidget* list_;
    bool refreshing_ = false;
    bool edited_ = false;
};

} // namespace figures
