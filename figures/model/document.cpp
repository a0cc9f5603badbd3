#include "figures/model/document.h"

namespace figures {

namespace {

// "文档" in GBK: default view names are stored in documents as GBK.
constexpr char kDefaultViewPrefix[] = "\xCE\xC4\xB5\xB5";

bool IsGbkLeadByte(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

unsigned char FoldAscii(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

} // namespace

bool EqualIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (IsGbkLeadByte(ca) && i + 1 < a.size()) {
            // A two-byte character: both bytes must match exactly.
            if (ca != cb || a[i + 1] != b[i + 1]) {
                return false;
            }
            ++i;
            continue;
        }
        if (FoldAscii(ca) != FoldAscii(cb)) {
            return false;
        }
    }
    return true;
}

Document::Document()
{
    ResetDocument();
    modified_ = false;
}

View* Document::ResetDocument()
{
    views_.clear();
    current_ = -1;
    View* view = AddView();
    current_ = 0;
    return view;
}

View* Document::AddView()
{
    views_.push_back(std::make_unique<View>(DefaultViewName()));
    modified_ = true;
    return views_.back().get();
}

int Document::InsertView(const std::string* name, int position)
{
    auto view = std::make_unique<View>(name ? *name : DefaultViewName());
    modified_ = true;
    if (position >= 0 && position < ViewCount()) {
        views_.insert(views_.begin() + position, std::move(view));
        if (current_ >= position) {
            ++current_;
        }
        return position;
    }
    views_.push_back(std::move(view));
    return ViewCount() - 1;
}

bool Document::RemoveView(int index)
{
    if (index < 0 || index >= ViewCount()) {
        return false;
    }
    views_.erase(views_.begin() + index);
    if (current_ == index) {
        current_ = -1;
    } else if (current_ > index) {
        --current_;
    }
    modified_ = true;
    return true;
}

View* Document::ViewAt(int index) const
{
    if (index < 0 || index >= ViewCount()) {
        return nullptr;
    }
    return views_[size_t(index)].get();
}

int Document::FindView(const std::string& name) const
{
    for (int i = 0; i < ViewCount(); ++i) {
        if (views_[size_t(i)]->name == name) {
            return i;
        }
    }
    return -1;
}

std::string Document::DefaultViewName() const
{
    // n never needs to exceed the number of views + 1: each view blocks at most one n.
    for (int n = 1;; ++n) {
        const std::string candidate = kDefaultViewPrefix + std::to_string(n);
        bool taken = false;
        for (const auto& view : views_) {
            if (EqualIgnoringCase(view->name, candidate)) {
                taken = true;
                break;
            }
        }
        if (!taken) {
            return candidate;
        }
    }
}

void Document::SetModified(bool modified)
{
    modified_ = modified;
    if (!modified) {
        for (const auto& view : views_) {
            view->modified = false;
        }
    }
}

void Document::SelectView(int index)
{
    current_ = index >= 0 && index < ViewCount() ? index : -1;
}

void Document::Clear()
{
    views_.clear();
    current_ = -1;
}

} // namespace figures
