#pragma once

#include "figures/model/view.h"

#include <memory>
#include <string>
#include <vector>

namespace figures {

// A drawing: an ordered list of named views, one of which may be current. The current
// view follows its view when others are inserted or removed before it; removing the
// current view leaves none current.
class Document {
public:
    // A new document has one view with the default name, current.
    Document();

    // Deletes every view, then AddView; the new view becomes current.
    View* ResetDocument();
    // Appends a view with the default name; the document becomes modified.
    View* AddView();
    // Inserts a view named as given (or with the default name for null) at position
    // when that is an existing index, else appends it. Returns its index.
    int InsertView(const std::string* name, int position);
    // Deletes the view and its objects. False for an invalid index.
    bool RemoveView(int index);
    View* ViewAt(int index) const;
    int ViewCount() const { return int(views_.size()); }
    // First view whose name equals name byte for byte, or -1.
    int FindView(const std::string& name) const;
    // "文档n" (GBK) with the smallest n >= 1 that no view name equals, ignoring case.
    std::string DefaultViewName() const;

    // Setting the flag marks the document; clearing it clears every view's flag too.
    void SetModified(bool modified);
    bool IsModified() const { return modified_; }

    // A valid index makes that view current; anything else leaves no view current.
    void SelectView(int index);
    int CurrentIndex() const { return current_; }
    View* CurrentView() const { return ViewAt(current_); }

    // Removes all views without creating a new one; no view is current.
    void Clear();
    // Appends a view as read from a document, without touching the modified flag.
    void AppendView(std::unique_ptr<View> view) { views_.push_back(std::move(view)); }

private:
    std::vector<std::unique_ptr<View>> views_;
    bool modified_ = false;
    int current_ = -1;
};

// Compares two GBK texts ignoring the case of ASCII letters; the bytes of two-byte
// characters are compared as they are (their trail bytes may fall in the ASCII letter
// range and must not be folded).
bool EqualIgnoringCase(const std::string& a, const std::string& b);

} // namespace figures
